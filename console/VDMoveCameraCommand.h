#pragma once

#include "gui/VDConsoleCommand.h"

// "cam_move SIDE VERTICAL FORWARD": moves the 3D view's camera, whether or not the console is open.
class VDMoveCameraCommand : public VDConsoleCommand {
  public:
    VDMoveCameraCommand();
    ~VDMoveCameraCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;
    virtual void setForwardMovement(float movement);
    virtual void setSideMovement(float movement);
    virtual void setVerticalMovement(float movement);

    float getForwardMovement() const { return m_forwardMovement; }
    float getSideMovement() const { return m_sideMovement; }
    float getVerticalMovement() const { return m_verticalMovement; }

  private:
    float m_sideMovement = 0.0f;
    float m_verticalMovement = 0.0f;
    float m_forwardMovement = 0.0f;
};
