#include "control/VCModelView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

#include "control/VCCellView.h"
#include "scene/SDBlockPicker.h"
#include "scene/SDCellLayout.h"
#include "scene/SDColourRamp.h"
#include "scene/SDLinkRouter.h"
#include "shell/LogFormat.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDCouplings.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDModelStructure.h"
#include "simdata/SDTimeCursor.h"
#include "view3d/Frustum.h"

namespace {

// The structure stands where the cell spaces' row would put its next block, and no nearer to life's box
// than that row begins: on the row's floor and front plane.
constexpr float kFirstColumn = 13.0f;
constexpr float kRowGap = 3.0f;
constexpr float kFloor = -10.0f;
constexpr float kFront = -14.75f;

// Beside cells, the structure's width as a share of theirs (see getScale), and its least scale.
constexpr float kSideShare = 0.66f;
constexpr float kFlatShare = 0.36f;
constexpr float kLeastScale = 0.05f;

constexpr VCModelView::Colour kMotifColour{0.0f, 0.0f, 0.0f, 0.55f};
constexpr VCModelView::Colour kConnectorColour{0.6f, 0.6f, 0.6f, 0.8f};

// Text sits this far above the line it labels.
constexpr float kAboveLine = 0.06f;

std::string formatValue(double value) {
    return numberText(value);
}

BoundingBox markerBox(const Vector3& centre) {
    const float h = SDBlockLayout::kMarkerHalf;
    BoundingBox box;
    box.setMinMax(centre - Vector3(h, h, h), centre + Vector3(h, h, h));
    return box;
}

unsigned labelChars(const std::vector<VCModelPorts::Port>& ports, const SDModelHistory& history) {
    unsigned chars = 0;
    for (const VCModelPorts::Port& port : ports) {
        const unsigned width = port.slot != SDModelTree::kNone ? history.valueWidth(port.slot) : 0;
        chars = std::max(chars, static_cast<unsigned>(port.name.size()) + (width > 0 ? 1 + width : 0));
    }
    return chars;
}

}  // namespace

VCModelView::VCModelView(SDModelStructure* structure, SDDevsModelList* registry, SDTimeCursor* cursor,
                         VCCellView* cells)
    : m_structure(structure), m_registry(registry), m_cursor(cursor), m_cells(cells) {}

void VCModelView::updateLayout() {
    if (m_structure == nullptr) {
        return;
    }
    // Clear of the cells: right of the last block of their row.
    float corner = kFirstColumn;
    bool anyCells = false;
    bool side = false;
    BoundingBox cells;
    if (m_cells != nullptr) {
        m_cells->updateLayout();
        anyCells = m_cells->getBounds(cells);
        for (const VCCellView::DrawnModel& model : m_cells->getDrawnModels()) {
            if (model.name != SDCellLayout::kLifeName) {
                corner = std::max(corner, model.bounds.getMax().x + kRowGap);
            }
            side = side ||
                   (model.placement != nullptr && model.placement->getLength() > 1 && model.layers.empty());
        }
    }
    const uint64_t registry = m_registry != nullptr ? m_registry->revision() : 0;
    const uint64_t revision = m_structure->revision();
    if (revision == m_laidOutRevision && registry == m_laidOutRegistry && corner == m_laidOutCorner) {
        // The cells may have grown in place (more rows): the scale follows them.
        chooseScale(anyCells, side, cells, corner - kRowGap);
        return;
    }
    m_laidOutRevision = revision;
    m_laidOutRegistry = registry;
    m_laidOutCorner = corner;

    const SDModelTree& tree = m_structure->tree();
    const SDModelHistory& history = m_structure->history();
    m_drawn = m_structure->hasAtomicModel();
    std::vector<SDBlockLayout::Model> models(tree.size());
    m_entries.assign(tree.size(), Entry{});
    for (uint32_t node = 0; node < tree.size(); ++node) {
        Entry& entry = m_entries[node];
        entry.ports = VCModelPorts::of(tree, m_registry, node);
        SDBlockLayout::Model& model = models[node];
        model.children = tree.node(node).children;
        model.inputs = static_cast<unsigned>(entry.ports.inputs.size());
        model.outputs = static_cast<unsigned>(entry.ports.outputs.size());
        model.nameChars = static_cast<unsigned>(tree.name(node).size());
        model.inputChars = labelChars(entry.ports.inputs, history);
        model.outputChars = labelChars(entry.ports.outputs, history);
        entry.inputRoom = static_cast<float>(model.inputChars) * SDBlockLayout::kChar;
        entry.outputRoom = static_cast<float>(model.outputChars) * SDBlockLayout::kChar;
    }
    m_layout.place(models, tree.topModels(), Vector3(corner, kFloor, kFront));
    ++m_layouts;
    chooseScale(anyCells, side, cells, corner - kRowGap);
}

void VCModelView::chooseScale(bool anyCells, bool side, const BoundingBox& cells, float rowEnd) {
    m_pivot = Vector3(0.0f, 0.0f, 0.0f);
    m_target = m_pivot;
    m_scale = 1.0f;
    BoundingBox structure;
    if (anyCells && m_layout.bounds(structure)) {
        const Vector3 laid = structure.getMax() - structure.getMin();
        const Vector3 room = cells.getMax() - cells.getMin();
        if (laid.x > 0.0f && laid.y > 0.0f) {
            const float share = side ? kSideShare : kFlatShare;
            m_scale = std::clamp(std::min(share * room.x / laid.x, room.y / laid.y), kLeastScale, 1.0f);
        }
        // Bottom and back level with the cells', the gap to them shrunk with the rest, and by half again:
        // seen from the side, the block's own depth already keeps them apart.
        m_pivot = Vector3(rowEnd, structure.getMin().y, structure.getMin().z);
        m_target = Vector3(rowEnd - kRowGap * m_scale / 2.0f, cells.getMin().y, cells.getMin().z);
    }
    m_batch.setScale(m_pivot, m_target, m_scale);
}

BoundingBox VCModelView::toWorld(const BoundingBox& box) const {
    BoundingBox world;
    world.setMinMax(toWorld(box.getMin()), toWorld(box.getMax()));
    return world;
}

bool VCModelView::getBounds(BoundingBox& bounds) const {
    BoundingBox laid;
    if (!isDrawn() || !m_layout.bounds(laid)) {
        return false;
    }
    bounds = toWorld(laid);
    return true;
}

std::vector<std::string> VCModelView::getBlockNames() const {
    std::vector<std::string> names;
    if (!isDrawn()) {
        return names;
    }
    for (uint32_t model = 0; model < m_layout.size(); ++model) {
        if (m_layout.block(model).placed) {
            names.emplace_back(m_structure->tree().name(model));
        }
    }
    return names;
}

bool VCModelView::findBlock(const std::string& model, BoundingBox& box) const {
    if (!isDrawn() || m_structure == nullptr) {
        return false;
    }
    const uint32_t node = m_structure->tree().find(model);
    if (node >= m_layout.size() || !m_layout.block(node).placed) {
        return false;
    }
    box = toWorld(m_layout.block(node).box);
    return true;
}

bool VCModelView::portPosition(const std::string& model, const std::string& port, bool input,
                               Vector3& position) const {
    if (!laidOutPort(model, port, input, position)) {
        return false;
    }
    position = toWorld(position);
    return true;
}

bool VCModelView::laidOutPort(const std::string& model, const std::string& port, bool input,
                              Vector3& position) const {
    if (!isDrawn() || m_structure == nullptr) {
        return false;
    }
    const uint32_t node = m_structure->tree().find(model);
    if (node >= m_layout.size() || node >= m_entries.size() || !m_layout.block(node).placed) {
        return false;
    }
    const std::vector<VCModelPorts::Port>& ports =
        input ? m_entries[node].ports.inputs : m_entries[node].ports.outputs;
    for (size_t i = 0; i < ports.size(); ++i) {
        if (ports[i].name == port) {
            position = m_layout.portPosition(node, input, static_cast<unsigned>(i));
            return true;
        }
    }
    return false;
}

std::string VCModelView::pick(const Vector3& origin, const Vector3& direction, float& distance) {
    updateLayout();
    if (!isDrawn()) {
        return "";
    }
    // The ray in the layout's coordinates keeps its direction; its lengths grow by the scale.
    const SDBlockHit hit = pickBlock(m_layout, toLayout(origin), direction, [this](uint32_t model) {
        return model < m_entries.size() && !m_entries[model].hidden;
    });
    if (!hit.hit) {
        return "";
    }
    distance = hit.distance * m_scale;
    return std::string(m_structure->tree().name(hit.model));
}

VCModelView::Colour VCModelView::lookOf(uint32_t model, double now, bool& bold) {
    const SDModelTree& tree = m_structure->tree();
    const SDModelHistory& history = m_structure->history();
    const SDModelStructure::Activity activity = m_structure->activityAt(model, now);
    bold = activity == SDModelStructure::Activity::Active;
    if (SDBlockLook* look = m_structure->findLook(tree.name(model)); look != nullptr && !look->empty()) {
        auto valueOf = [&](int type, const std::string& port, double& value) {
            const uint32_t slot = tree.portSlot(model, port, type == SDBlockLook::kInputType);
            double since = 0.0;
            return slot != SDModelTree::kNone && history.valueAt(slot, now, value, since);
        };
        Colour colour;
        if (look->ruleColour(valueOf, colour)) {
            return colour;
        }
        double value = 0.0;
        double minimum = 0.0;
        double maximum = 0.0;
        const uint32_t slot = look->hasRamp() ? tree.portSlot(model, look->getRampPort(),
                                                              look->getRampType() == SDBlockLook::kInputType)
                                              : SDModelTree::kNone;
        if (slot != SDModelTree::kNone && valueOf(look->getRampType(), look->getRampPort(), value) &&
            std::isfinite(value) && history.range(slot, minimum, maximum)) {
            return SDColourRamp::forValue(value, minimum, maximum);
        }
    }
    switch (activity) {
        case SDModelStructure::Activity::Active:
            return kActiveColour;
        case SDModelStructure::Activity::Waiting:
            return kWaitingColour;
        case SDModelStructure::Activity::Passive:
            return kPassiveColour;
        default:
            return kUnknownColour;
    }
}

std::string VCModelView::valueText(uint32_t slot, double now) const {
    double value = 0.0;
    double since = 0.0;
    if (slot == SDModelTree::kNone || !m_structure->history().valueAt(slot, now, value, since)) {
        return "";
    }
    return formatValue(value);
}

void VCModelView::render(Frustum* frustum) {
    updateLayout();
    // Emptied, not replaced: the texts of one frame take the room of the last one's.
    m_labels.names.clear();
    m_labels.ports.clear();
    m_labels.messages.clear();
    m_labels.scale = m_scale;
    m_framed = 0;
    if (!isDrawn()) {
        return;
    }
    const double now = m_cursor != nullptr ? m_cursor->time() : 0.0;
    const SDModelTree& tree = m_structure->tree();
    m_batch.clear();
    for (uint32_t model = 0; model < m_layout.size(); ++model) {
        const SDBlockLayout::Block& block = m_layout.block(model);
        Entry& entry = m_entries[model];
        if (!block.placed) {
            continue;
        }
        bool bold = false;
        const Colour colour = lookOf(model, now, bold);
        entry.hidden = colour[3] <= 0.0f;
        if (entry.hidden) {
            continue;
        }
        const BoundingBox& box = block.box;
        const Vector3& low = box.getMin();
        const Vector3& high = box.getMax();
        if (block.frame) {
            m_batch.addFrame(box, colour, bold);
        } else {
            m_batch.addSolid(box, colour);
        }
        if (tree.node(model).cellSpace) {
            // A grid on its face, and a line to its cells.
            const float z = high.z + 0.01f;
            for (int i = 1; i <= 2; ++i) {
                const float x = low.x + (high.x - low.x) * static_cast<float>(i) / 3.0f;
                const float y = low.y + (high.y - low.y) * static_cast<float>(i) / 3.0f;
                m_batch.addLine(Vector3(x, low.y, z), Vector3(x, high.y, z), kMotifColour);
                m_batch.addLine(Vector3(low.x, y, z), Vector3(high.x, y, z), kMotifColour);
            }
            const SDCellPlacement* cells =
                m_cells != nullptr ? m_cells->findPlacement(tree.name(model)) : nullptr;
            if (cells != nullptr && !cells->empty()) {
                // The cells stand in the world; the line is drawn with the structure, scale and all.
                const BoundingBox around = cells->bounds();
                const Vector3 from = toWorld(box.getCentre());
                const Vector3 to(std::clamp(from.x, around.getMin().x, around.getMax().x),
                                 std::clamp(from.y, around.getMin().y, around.getMax().y),
                                 std::clamp(from.z, around.getMin().z, around.getMax().z));
                m_batch.addLine(box.getCentre(), toLayout(to), kConnectorColour);
            }
        }
        m_labels.names.push_back(Label{Vector3(low.x, high.y + kAboveLine, low.z),
                                       std::string(tree.name(model)),
                                       block.nameWidth,
                                       false,
                                       {}});
        for (int side = 0; side < 2; ++side) {
            const bool input = side == 0;
            const std::vector<VCModelPorts::Port>& ports = input ? entry.ports.inputs : entry.ports.outputs;
            for (size_t i = 0; i < ports.size(); ++i) {
                const Vector3 marker = m_layout.portPosition(model, input, static_cast<unsigned>(i));
                m_batch.addSolid(markerBox(marker), input ? kInputColour : kOutputColour);
                const std::string value = valueText(ports[i].slot, now);
                Label label;
                label.text = value.empty() ? ports[i].name : ports[i].name + " " + value;
                label.rightAligned = input;
                label.anchor = marker + Vector3(input ? -SDBlockLayout::kLabelGap : SDBlockLayout::kLabelGap,
                                                0.0f, SDBlockLayout::kMarkerHalf);
                label.room = input ? entry.inputRoom : entry.outputRoom;
                m_labels.ports.push_back(label);
            }
        }
    }
    routeLinks();
    addMessages(now);
    addLinks();
    addChangeFrames(now);
    // The labels as drawn.
    for (std::vector<Label>* labels : {&m_labels.names, &m_labels.ports, &m_labels.messages}) {
        for (Label& label : *labels) {
            label.anchor = toWorld(label.anchor);
            label.room *= m_scale;
            for (Vector3& point : label.along) {
                point = toWorld(point);
            }
        }
    }
    BoundingBox bounds;
    if (frustum != nullptr && getBounds(bounds) && frustum->classifyBox(bounds) == 2) {
        return;
    }
    m_batch.draw();
}

void VCModelView::addChangeFrames(double now) {
    if (!m_changesShown) {
        return;
    }
    const SDModelHistory& history = m_structure->history();
    const auto [first, last] = history.messagesAt(now);
    std::vector<bool> touched(m_layout.size(), false);
    for (size_t position = first; position < last; ++position) {
        const SDModelHistory::Line& line = history.message(position);
        for (const uint32_t model : {line.source, line.destination}) {
            if (model < touched.size()) {
                touched[model] = true;
            }
        }
    }
    // A cell space also receives its cells' outputs, which the cells' own values hold.
    const SDModelTree& tree = m_structure->tree();
    std::vector<uint32_t> cells;
    for (uint32_t model = 0; model < touched.size(); ++model) {
        if (!touched[model] && tree.node(model).cellSpace && m_registry != nullptr && m_cursor != nullptr) {
            auto* space =
                dynamic_cast<SDCELLDevsModel*>(m_registry->findModel(std::string(tree.name(model))));
            if (space != nullptr) {
                m_cursor->cellsChangedNow(&space->getValues(), cells);
                touched[model] = !cells.empty();
            }
        }
        if (!touched[model] || !m_layout.block(model).placed || m_entries[model].hidden) {
            continue;
        }
        // Just outside the block, clear of its own edges.
        const BoundingBox& box = m_layout.block(model).box;
        const Vector3 off(0.08f, 0.08f, 0.08f);
        BoundingBox around;
        around.setMinMax(box.getMin() - off, box.getMax() + off);
        m_batch.addFrame(around, VCCellView::kChangeColour, false);
        ++m_framed;
    }
}

VCModelView::Route VCModelView::routeOf(uint32_t coupled, uint32_t from, const Vector3& start, uint32_t to,
                                        const Vector3& end, size_t& budget) const {
    Route route{from, to, {}};
    // Out of the port to the right and into the other port from its left: the line never runs back through
    // the block it leaves.
    const Vector3 out = start + Vector3(kLinkStub, 0.0f, 0.0f);
    const Vector3 in = end - Vector3(kLinkStub, 0.0f, 0.0f);
    std::vector<SDLinkRouter::Point> corners;
    if (coupled < m_layout.size() && m_layout.block(coupled).placed) {
        // Through the coupled model's frame, around the blocks it holds and the names above them.
        const BoundingBox& frame = m_layout.block(coupled).box;
        const unsigned level = m_layout.block(coupled).level + 1;
        std::vector<SDLinkRouter::Rect> boxes;
        for (uint32_t child : m_structure->tree().node(coupled).children) {
            if (child >= m_layout.size()) {
                continue;
            }
            const SDBlockLayout::Block& block = m_layout.block(child);
            if (block.placed && block.level == level) {
                boxes.push_back(SDLinkRouter::Rect{block.box.getMin().x, block.box.getMin().y,
                                                   block.box.getMax().x,
                                                   block.box.getMax().y + SDBlockLayout::kRow});
            }
        }
        const SDLinkRouter router(
            SDLinkRouter::Rect{frame.getMin().x, frame.getMin().y, frame.getMax().x, frame.getMax().y},
            std::move(boxes));
        if (router.cost() <= budget) {
            budget -= router.cost();
            corners = router.route({out.x, out.y}, {in.x, in.y});
        }
    }
    route.points.push_back(start);
    if (!corners.empty()) {
        const float z = std::max(start.z, end.z);
        for (const SDLinkRouter::Point& corner : corners) {
            route.points.emplace_back(corner.x, corner.y, z);
        }
    } else if (out.x < in.x) {
        // No way around (or too many blocks to look for one): along, down or up halfway, and along again,
        // as couplings are drawn on paper.
        const float middle = (out.x + in.x) / 2.0f;
        route.points.insert(route.points.end(),
                            {out, Vector3(middle, out.y, out.z), Vector3(middle, in.y, in.z), in});
    } else {
        route.points.insert(route.points.end(), {out, in});
    }
    route.points.push_back(end);
    return route;
}

void VCModelView::routeLinks() {
    size_t links = 0;
    if (m_couplings != nullptr) {
        for (const auto& entry : m_couplings->getModels()) {
            links += entry.second.links.size();
        }
    }
    // A model file only ever adds links, so their count tells whether there are new ones.
    if (m_routedLayout == m_layouts && m_routedLinks == links) {
        return;
    }
    m_routedLayout = m_layouts;
    m_routedLinks = links;
    m_routes.clear();
    m_routeOf.clear();
    if (m_couplings == nullptr) {
        return;
    }
    const SDModelTree& tree = m_structure->tree();
    size_t budget = kRoutingBudget;
    for (const auto& [coupled, declared] : m_couplings->getModels()) {
        const uint32_t parent = tree.find(coupled);
        for (const SDLink& link : declared.links) {
            // A link leaves a component's output, or the coupled model's own input, and reaches a
            // component's input, or the coupled model's own output.
            const std::string& from = link.fromModel.empty() ? coupled : link.fromModel;
            const std::string& to = link.toModel.empty() ? coupled : link.toModel;
            Vector3 start;
            Vector3 end;
            if (!laidOutPort(from, link.fromPort, link.fromModel.empty(), start) ||
                !laidOutPort(to, link.toPort, !link.toModel.empty(), end)) {
                continue;
            }
            const uint32_t fromNode = tree.find(from);
            const uint32_t toNode = tree.find(to);
            m_routes.push_back(routeOf(parent, fromNode, start, toNode, end, budget));
            // Of several links of one port, a message travels the first declared.
            if (!link.fromModel.empty()) {
                m_routeOf.emplace(std::make_tuple(parent, fromNode, link.fromPort, false),
                                  m_routes.size() - 1);
            }
            if (!link.toModel.empty()) {
                m_routeOf.emplace(std::make_tuple(parent, toNode, link.toPort, true), m_routes.size() - 1);
            }
        }
    }
}

void VCModelView::addLinks() {
    for (const Route& route : m_routes) {
        if (m_entries[route.from].hidden || m_entries[route.to].hidden) {
            continue;
        }
        for (size_t i = 0; i + 1 < route.points.size(); ++i) {
            m_batch.addLine(route.points[i], route.points[i + 1], kLinkColour);
        }
    }
}

void VCModelView::addMessages(double now) {
    const SDModelTree& tree = m_structure->tree();
    const SDModelHistory& history = m_structure->history();
    const auto [first, last] = history.messagesAt(now);
    // One arrow per sender, receiver and port: of several values at one time the last is written.
    std::map<std::tuple<uint32_t, uint32_t, uint32_t>, size_t> drawn;
    std::vector<std::pair<size_t, double>> arrows;
    for (size_t position = first; position < last && drawn.size() < kMaxArrows; ++position) {
        const SDModelHistory::Line& line = history.message(position);
        const auto key = std::make_tuple(line.source, line.destination, line.slot);
        auto [at, added] = drawn.emplace(key, arrows.size());
        if (added) {
            arrows.emplace_back(position, line.value);
        } else {
            arrows[at->second].second = line.value;
        }
    }
    auto placed = [&](uint32_t model) {
        return model < m_layout.size() && m_layout.block(model).placed && !m_entries[model].hidden;
    };
    std::set<size_t> travelled;  // the couplings drawn
    for (const auto& [position, value] : arrows) {
        const SDModelHistory::Line& line = history.message(position);
        const bool input = line.kind == SDModelHistory::Kind::External;
        // The port belongs to the child: the receiver of an X, the sender of a Y.
        const uint32_t owner = input ? line.destination : line.source;
        const uint32_t other = input ? line.source : line.destination;
        if (!placed(owner)) {
            continue;
        }
        const std::vector<VCModelPorts::Port>& ports =
            input ? m_entries[owner].ports.inputs : m_entries[owner].ports.outputs;
        size_t index = ports.size();
        for (size_t i = 0; i < ports.size(); ++i) {
            if (ports[i].slot == line.slot) {
                index = i;
                break;
            }
        }
        if (index == ports.size()) {
            continue;
        }
        Label label;
        label.text = formatValue(value);
        label.rightAligned = !input;
        // Along the coupling that joins the two, when a model file gave one: once for the Y that leaves a
        // child and the X that passes it on to a sibling.
        // A coupling whose other end is hidden leaves the message its straight arrow.
        const auto coupling = m_routeOf.find(std::make_tuple(other, owner, ports[index].name, input));
        if (coupling != m_routeOf.end() && placed(m_routes[coupling->second].from) &&
            placed(m_routes[coupling->second].to)) {
            const Route& route = m_routes[coupling->second];
            if (!travelled.insert(coupling->second).second) {
                continue;
            }
            m_batch.addPath(route.points, input ? kInputColour : kOutputColour);
            label.anchor = route.points.front();
            label.along = route.points;
            m_labels.messages.push_back(label);
            continue;
        }
        const Vector3 marker = m_layout.portPosition(owner, input, static_cast<unsigned>(index));
        const float edge = SDBlockLayout::kMarkerHalf;
        const Vector3 atPort = marker + Vector3(input ? -edge : edge, 0.0f, edge);
        Vector3 far;
        if (placed(other) && tree.node(owner).parent == other) {
            const BoundingBox& frame = m_layout.block(other).box;
            far = Vector3(input ? frame.getMin().x : frame.getMax().x, atPort.y, atPort.z);
        } else if (placed(other)) {
            const BoundingBox& peer = m_layout.block(other).box;
            far = Vector3(input ? peer.getMax().x : peer.getMin().x, peer.getCentre().y, atPort.z);
        } else {
            // From or to the root: across the model's own side, from outside.
            const Entry& entry = m_entries[owner];
            const float reach = SDBlockLayout::kLabelGap + (input ? entry.inputRoom : entry.outputRoom) +
                                SDBlockLayout::kOutside;
            far = atPort + Vector3(input ? -reach : reach, 0.0f, 0.0f);
        }
        const Vector3 from = input ? far : atPort;
        const Vector3 to = input ? atPort : far;
        m_batch.addArrow(from, to, input ? kInputColour : kOutputColour);
        label.room = std::fabs(to.x - from.x) / 2.0f;
        label.anchor = from;
        label.along = {from, to};
        m_labels.messages.push_back(label);
    }
}
