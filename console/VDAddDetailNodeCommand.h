#pragma once

#include <string>

#include "gui/VDConsoleCommand.h"

// "vis_add_detail_node CUBE X Y Z SIZE": adds a cube to the open visualization's scene graph.
class VDAddDetailNodeCommand : public VDConsoleCommand {
  public:
    VDAddDetailNodeCommand();
    ~VDAddDetailNodeCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;
    virtual void setNodeType(const std::string& nodeType);
    virtual void setPosition(float x, float y, float z);
    virtual void setSize(float size);

    const std::string& getNodeType() const { return m_nodeType; }
    float getX() const { return m_x; }
    float getY() const { return m_y; }
    float getZ() const { return m_z; }
    float getSize() const { return m_size; }

  private:
    std::string m_nodeType;
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    float m_size = 0.0f;
};
