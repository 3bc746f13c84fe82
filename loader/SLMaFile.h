#pragma once

// Room for a loader of model description files; it reads nothing yet.
class SLMaFile {
  public:
    virtual ~SLMaFile();
};
