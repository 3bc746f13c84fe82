#pragma once

#include "gui/VDConsoleCommand.h"

// "cam_rotate YAW PITCH ROLL": turns the 3D view's camera, whether or not the console is open.
class VDRotateCameraCommand : public VDConsoleCommand {
  public:
    VDRotateCameraCommand();
    ~VDRotateCameraCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;
    virtual void setYawChange(float change);
    virtual void setPitchChange(float change);
    virtual void setRollChange(float change);

    float getYawChange() const { return m_yawChange; }
    float getPitchChange() const { return m_pitchChange; }
    float getRollChange() const { return m_rollChange; }

  private:
    float m_pitchChange = 0.0f;
    float m_yawChange = 0.0f;
    float m_rollChange = 0.0f;
};
