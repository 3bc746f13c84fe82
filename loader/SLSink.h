#pragma once

class SDDevsModel;
class SDEvent;

// Where a loader hands the model records and events it reads. The loader does not know what stores them;
// the controller's simulation link is the sink in the program.
// Hand-over: true means the sink took ownership; false means the object is still the caller's, who
// deletes it.
class SLSink {
  public:
    virtual ~SLSink();
    virtual bool addModel(SDDevsModel* model) = 0;
    virtual bool addEvent(SDEvent* event) = 0;
};
