#include "tools/DevsLog.h"

#include <cstdio>
#include <vector>

#include "tools/LifeGrid.h"
#include "tools/LifeLog.h"
#include "tools/LogLineWriter.h"

namespace {

constexpr long long kStepMs = 100;
constexpr long long kReactionMs = 10;
constexpr const char* kRoot = "Root(00)";

struct Model {
    std::string reference;  // name(id)
    int parent = -1;        // -1: top, whose parent is Root
    std::vector<int> children;
};

class DevsLogWriter {
  public:
    DevsLogWriter(const DevsLogOptions& options, std::ostream& out)
        : m_options(options), m_lines(out), m_random(options.seed) {
        build();
    }

    bool write() {
        const std::string zero = formatLogTime(0);
        for (const Model& model : m_models) {
            const char* parent = model.parent < 0 ? kRoot : m_models[model.parent].reference.c_str();
            m_lines.line("msg I / %s / %s to %s", zero.c_str(), parent, model.reference.c_str());
        }
        // Everything passive at first, the deepest models first, as the simulator reports them.
        for (size_t i = m_models.size(); i-- > 0;) {
            done(0, static_cast<int>(i), -1);
        }
        for (int step = 1; step <= m_options.steps; ++step) {
            writeStep(step * kStepMs);
        }
        m_summary.lines = m_lines.count();
        m_summary.models = static_cast<long long>(m_models.size());
        m_summary.atomics = static_cast<long long>(m_atomics.size());
        return m_lines.good();
    }

    const DevsLogSummary& summary() const { return m_summary; }

  private:
    void build() {
        m_models.push_back(Model{"top(01)", -1, {}});
        std::vector<int> level{0};
        int id = 2;
        for (int depth = 1; depth <= m_options.depth; ++depth) {
            std::vector<int> next;
            const bool atomic = depth == m_options.depth;
            for (int parent : level) {
                const std::string path = parent == 0 ? ""
                                                     : m_models[parent].reference.substr(
                                                           1, m_models[parent].reference.find('(') - 1);
                for (int k = 1; k <= m_options.fanout; ++k) {
                    char reference[96];
                    std::snprintf(reference, sizeof reference, "%s%s%s%d(%02d)", atomic ? "a" : "g",
                                  path.c_str(), path.empty() ? "" : "_", k, id++);
                    m_models[parent].children.push_back(static_cast<int>(m_models.size()));
                    m_models.push_back(Model{reference, parent, {}});
                    next.push_back(static_cast<int>(m_models.size()) - 1);
                }
            }
            level.swap(next);
        }
        for (size_t i = 0; i < m_models.size(); ++i) {
            if (m_models[i].children.empty()) {
                m_atomics.push_back(static_cast<int>(i));
            }
        }
    }

    std::vector<int> pathTo(int model) const {
        std::vector<int> path;
        for (int at = model; at >= 0; at = m_models[at].parent) {
            path.insert(path.begin(), at);
        }
        return path;
    }

    // A D line of one model: a delay in milliseconds, or -1 for "...".
    void done(long long now, int model, long long delay) {
        const std::string t = formatLogTime(now);
        const std::string next = delay < 0 ? "..." : formatLogTime(delay);
        const char* parent =
            m_models[model].parent < 0 ? kRoot : m_models[m_models[model].parent].reference.c_str();
        m_lines.line("msg D / %s / %s / %s to %s", t.c_str(), m_models[model].reference.c_str(), next.c_str(),
                     parent);
    }

    // D lines from a model up to top, each ancestor waiting as long as the model does.
    void doneUp(long long now, int model, long long delay) {
        for (int at = model; at >= 0; at = m_models[at].parent) {
            done(now, at, delay);
        }
    }

    // X lines from Root down to `model`.
    void inputDown(long long now, int model, double value) {
        const std::string t = formatLogTime(now);
        const std::vector<int> path = pathTo(model);
        const char* from = kRoot;
        for (int at : path) {
            m_lines.line("msg X / %s / %s / in / %12.5f to %s", t.c_str(), from, value,
                         m_models[at].reference.c_str());
            ++m_summary.externalMessages;
            from = m_models[at].reference.c_str();
        }
    }

    // Internal transition of an atomic model: * lines down to it, its Y up to Root, its D passive.
    void fire(long long now, int model, double value) {
        const std::string t = formatLogTime(now);
        const std::vector<int> path = pathTo(model);
        const char* from = kRoot;
        for (int at : path) {
            m_lines.line("msg * / %s / %s to %s", t.c_str(), from, m_models[at].reference.c_str());
            from = m_models[at].reference.c_str();
        }
        for (size_t i = path.size(); i-- > 0;) {
            const int at = path[i];
            const char* parent = i == 0 ? kRoot : m_models[path[i - 1]].reference.c_str();
            m_lines.line("msg Y / %s / %s / out / %12.5f to %s", t.c_str(), m_models[at].reference.c_str(),
                         value, parent);
            ++m_summary.outputMessages;
        }
    }

    void writeStep(long long now) {
        const int first = m_atomics[m_random.next() % m_atomics.size()];
        const double value = static_cast<double>(m_random.next() % 1000) / 100.0;
        inputDown(now, first, value);
        doneUp(now, first, kReactionMs);

        // The first one answers: up to Root, and on to its next sibling through their parent.
        const long long reacted = now + kReactionMs;
        fire(reacted, first, value * 2.0);
        const std::vector<int>& siblings = m_models[m_models[first].parent].children;
        int second = -1;
        for (size_t i = 0; i < siblings.size(); ++i) {
            if (siblings[i] == first) {
                second = siblings[(i + 1) % siblings.size()];
            }
        }
        done(reacted, first, -1);
        if (second >= 0 && second != first && m_models[first].parent >= 0) {
            const std::string t = formatLogTime(reacted);
            m_lines.line("msg X / %s / %s / in / %12.5f to %s", t.c_str(),
                         m_models[m_models[first].parent].reference.c_str(), value * 2.0,
                         m_models[second].reference.c_str());
            ++m_summary.externalMessages;
            doneUp(reacted, second, kReactionMs);
            fire(reacted + kReactionMs, second, -value);
            doneUp(reacted + kReactionMs, second, -1);
        } else {
            doneUp(reacted, m_models[first].parent, -1);
        }
    }

    const DevsLogOptions& m_options;
    LogLineWriter m_lines;
    LifeRandom m_random;
    std::vector<Model> m_models;  // top first, then level by level
    std::vector<int> m_atomics;
    DevsLogSummary m_summary;
};

}  // namespace

bool validDevsLogOptions(const DevsLogOptions& options, std::string* why) {
    auto refuse = [why](const char* reason) {
        if (why != nullptr) {
            *why = reason;
        }
        return false;
    };
    if (options.depth < 1 || options.depth > kDevsLogMaxDepth) {
        return refuse("the depth must lie between 1 and 8");
    }
    if (options.fanout < 1) {
        return refuse("the fan-out must be at least 1");
    }
    if (options.steps < 0 || options.steps > kDevsLogMaxSteps) {
        return refuse("the steps must lie between 0 and 10000000");
    }
    long long level = 1;
    long long models = 1;
    for (int depth = 1; depth <= options.depth; ++depth) {
        level *= options.fanout;
        models += level;
        if (models > kDevsLogMaxModels) {
            return refuse("the hierarchy would hold more than 1000000 models");
        }
    }
    return true;
}

bool writeDevsLog(const DevsLogOptions& options, std::ostream& out, DevsLogSummary* summary) {
    if (!validDevsLogOptions(options)) {
        return false;
    }
    DevsLogWriter writer(options, out);
    const bool written = writer.write();
    if (summary != nullptr) {
        *summary = writer.summary();
    }
    return written;
}
