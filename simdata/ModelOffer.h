#pragma once

#include <memory>

#include "simdata/SDDevsModelList.h"

class SDCELLDevsModel;
class SDDevsModel;

// Offers a freshly read model record to the registry, merging it into the record already registered
// under its name:
//   - a new name: the record is registered (and printed); the answer is that of addModel;
//   - a Cell-DEVS record meets a Cell-DEVS record: the registered one grows to the offered counts and
//     takes its missing ports, then is printed; an offer of another origin is refused and nothing
//     changes, with one log line for the first such offer of that space ("Refused CELL model cells from
//     cell (0,0,0): its cells start at (-2,-1,0)");
//   - a plain record is offered: the registered one takes its missing ports and is printed if it gained
//     any;
//   - a Cell-DEVS record meets a plain one: a new Cell-DEVS record with the plain one's name, tag and
//     ports, grown to the offered counts and given the offered ports, replaces it (the plain one is
//     deleted); it is printed on registration and once more. A new cell space keeps the offered origin.
// Hand-over: true means the registry owns `model`; false means the caller keeps it and should delete it
// (every merge answers false: the offered record itself is never stored).
bool offerModel(SDDevsModelList& registry, SDDevsModel* model);

// The same for a record that the caller keeps in any case: when the name is new, a copy of the record is
// registered (true). The log shows exactly what offerModel would write.
bool offerModelCopy(SDDevsModelList& registry, const SDDevsModel& model);

// True when offering `model` to `registered`, the record of its name, would change nothing and write
// nothing, so that the offer can be passed over: a cell space is printed at every offer while log lines
// are wanted.
bool offerChangesNothing(const SDDevsModel& registered, const SDDevsModel& model);

// A new record of the same kind with the same name, tag, ports, rules, cell counts and origin.
std::unique_ptr<SDDevsModel> copyModelRecord(const SDDevsModel& model);

// Grows the registered cell space of `cells`'s name to hold every cell of that record, without a log
// line: a plain record of that name becomes a Cell-DEVS one (keeping its name, tag and ports), and an
// unknown name is registered as a copy of `cells`. The counts (and, for a new space, the origin) are all
// that is taken from it; a registered space of another origin is left as it is.
void growCellSpace(SDDevsModelList& registry, const SDCELLDevsModel& cells);
