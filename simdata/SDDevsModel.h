#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "simdata/SDTransitionRuleCollection.h"

// What the log reveals of one model: its name and the ports seen on its messages.
class SDDevsModel {
  public:
    SDDevsModel() = default;
    SDDevsModel(const SDDevsModel&) = default;
    SDDevsModel& operator=(const SDDevsModel&) = default;

    virtual ~SDDevsModel();
    virtual std::string getName() const { return m_name; }
    virtual int getTag() const { return m_tag; }
    virtual std::vector<std::string> getInputPorts() const { return m_inputPorts; }
    virtual std::vector<std::string> getOutputPorts() const { return m_outputPorts; }
    virtual bool hasInputPort(const std::string& port) const;
    virtual bool hasOutputPort(const std::string& port) const;
    // Appends the other record's ports that this one lacks, in their order, and returns how many were
    // added. Records of different names (or null) are not merged: 0.
    virtual int mergePorts(const SDDevsModel* other);
    // True when merging `offered`, a record of this name, would change nothing here: its ports are all
    // held, and an offered cell space needs this record to be one that holds it (see SDCELLDevsModel).
    virtual bool holds(const SDDevsModel& offered) const;
    virtual bool isCellSpace() const { return false; }
    // Writes the record to the log.
    virtual void print() const;
    // Appends the lines print writes for the name and the ports: "Model Data:", "Name: <name>",
    // "Input ports: " and "Output ports: ", each port followed by " | ".
    void describe(std::vector<std::string>& lines) const;

    // For building a fresh record: the loader names it and appends the one port its line shows. These
    // do not check for duplicates; once a record is registered, ports arrive through mergePorts.
    void setName(std::string name) { m_name = std::move(name); }
    void appendInputPort(std::string port) { m_inputPorts.push_back(std::move(port)); }
    void appendOutputPort(std::string port) { m_outputPorts.push_back(std::move(port)); }
    // Makes a record that a reader fills again and again a fresh one of that name: no ports, tag 0. Its
    // storage is kept, so the next line costs no allocation. The rules are left alone.
    void reuseAs(std::string_view name);

    const std::string& name() const { return m_name; }
    SDTransitionRuleCollection& getRules() { return m_rules; }
    const SDTransitionRuleCollection& getRules() const { return m_rules; }

  protected:
    bool holdsPorts(const SDDevsModel& offered) const;

    int m_tag = 0;
    std::string m_name;
    std::vector<std::string> m_outputPorts;
    std::vector<std::string> m_inputPorts;
    SDTransitionRuleCollection m_rules;
};
