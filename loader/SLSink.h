#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class SDDevsModel;
class SDEvent;
struct SDLogMessage;
struct SDModelDeclaration;

// Where a loader hands the model records and events it reads. The loader does not know what stores them;
// the controller's simulation link is the sink in the program.
// Hand-over: true means the sink took ownership; false means the object is still the caller's, who
// deletes it.
class SLSink {
  public:
    virtual ~SLSink();
    virtual bool addModel(SDDevsModel* model) = 0;
    virtual bool addEvent(SDEvent* event) = 0;

    // Offers for objects that the caller keeps and reuses whatever the answer: a sink keeps a copy of
    // what it takes. True when it took one. A loader offers every record and event of a log this way, so
    // that a line costs no objects of its own. By default each makes a copy, hands it over with addModel
    // or addEvent, and deletes it when refused; a sink that can keep the contents directly does better.
    virtual bool offerModel(const SDDevsModel& model);
    virtual bool offerEvent(const SDEvent& event);
    // A number that changes whenever an offer may have changed the records the sink holds, and whenever
    // anything else changes them: while it stays the same, a record that changed nothing when offered
    // would change nothing again, and a reader may leave it out. False when the sink cannot tell (the
    // default): every record is offered.
    virtual bool modelsStamp(uint64_t& stamp) const;
    // A hint that an event naming models of these hashes (SDNameTable::hashOf) is a few lines ahead, so
    // that a sink may fetch what it will look up; `next` when it is nearer (see SDEventList::foreseeNames).
    // By default nothing is done.
    virtual void foreseeNames(uint32_t source, uint32_t destination, bool next);
    // Every message line of the log, of any kind (I, *, D, X, Y), for what the events leave out: who is
    // whose parent, and when each model is active or scheduled. The message views into the line being read.
    // By default it is not kept.
    virtual void offerMessage(const SDLogMessage& message);
    // The whole text of a model's state from `milliseconds` on, for formats that log states as text (the
    // number that colours a cell comes as an event as well). `model` is a reference as events name it
    // ("cells(3,4)"); both texts live for the call only. By default it is not kept.
    virtual void offerState(std::string_view model, double milliseconds, std::string_view text);
    // The same from a reader that has looked for the text's first number already: `numbered` says whether
    // the text holds one. By default it goes to offerState.
    virtual void offerReadState(std::string_view model, double milliseconds, std::string_view text,
                                bool numbered);
    // The same from a reader that numbers the models it reads: `key` stands for `model` in every state the
    // reader offers of it (numbers from 0, one per model, given as the models come), so that a sink can
    // find what it keeps for the model without its name; kNoModelKey when the reader has none for it. By
    // default it goes to offerReadState.
    static constexpr uint32_t kNoModelKey = UINT32_MAX;
    virtual void offerKeyedState(uint32_t key, std::string_view model, double milliseconds,
                                 std::string_view text, bool numbered);

    // The cell space a model file declared before a run of a format without one (such runs name no
    // space): its name and origin, for the reader to file its cells under. False when there is none, or
    // more than one. By default there is none.
    virtual bool declaredCellSpace(std::string& name, std::array<int, 3>& origin) const;

    // What a model file declares about one model (its size, initial values, couplings), handed over
    // whole. True when the sink used it; by default it is not used.
    virtual bool addDeclaration(SDModelDeclaration declaration);
};
