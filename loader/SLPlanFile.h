#pragma once

// Room for a loader of plan files; it reads nothing yet.
class SLPlanFile {
  public:
    virtual ~SLPlanFile();
};
