#pragma once

#include <memory>
#include <string>

#include "gui/VDConsoleParser.h"
#include "gui/VDMessageBoxCallBack.h"
#include "gui/VDWindow.h"

class VDConsoleCommand;
class VDMessageBox;

// The root of the toolkit, to which the GLUT bridge hands every event. It runs the frame, turns GLUT's
// top-left mouse positions into the toolkit's bottom-left ones, turns redisplay requests into GLUT redisplay
// requests, handles the global keys (back-quote shows or hides the console, Escape asks whether to exit),
// and routes all other input to exactly one receiver: the open message box, else the open console, else the
// content window. Its companions are kept in their own fields, not among the children.
class VDMainWindow : public VDWindow, public VDMessageBoxCallBack {
  public:
    // Makes the command that Escape executes; the command disposes of itself once it is done.
    using CommandFactory = std::unique_ptr<VDConsoleCommand> (*)();

    // Creates the console, which takes over the parser. Without a parser there is no console.
    VDMainWindow(int width, int height, std::unique_ptr<VDConsoleParser> parser);
    ~VDMainWindow() override;

    bool handleEvent(VDEvent* event) override;
    // What a frame holds: everything, or the content window alone (a picture of the view without the
    // console or a message box over it).
    enum class Parts { Everything, ContentOnly };

    // Draws one frame into the current framebuffer at the main window's size, without showing it: the
    // content window, then the console while it is open, then an open message box on a black blank of its
    // own, so that nothing behind shows through it. False, after a log line, when there is no theme to
    // draw with.
    virtual bool drawFrame();
    bool drawFrame(Parts parts);
    // Creates the console; does nothing once it exists.
    void initialise() override;
    // Passes input events with downward routing to the one receiver that currently takes input.
    virtual bool routeInput(VDEvent* event);
    virtual void resize(const VDRect& rect);
    // Opens a box of the given kind, centred, whose answer goes to `client` (not owned). A box that is
    // still open is replaced and goes to the garbage can.
    virtual void showMessageBox(int kind, const std::string& text, VDMessageBoxCallBack* client);

    void onResult(int id) override;

    // Takes over `window`, places it over the whole main window and initialises it. Null is ignored.
    void setContentWindow(std::unique_ptr<VDWindow> window);
    VDWindow* getContentWindow() const { return m_contentWindow.get(); }
    VDMessageBox* getMessageBox() const { return m_messageBox.get(); }
    void setEscapeCommandFactory(CommandFactory factory) { m_escapeFactory = factory; }
    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }

  private:
    bool handleMouse(VDEvent* event);
    // Hands input to `receiver`; the window that had input before hears that it lost it.
    bool deliverInput(VDWindow* receiver, VDEvent* event);

    int m_width;
    int m_height;
    // Set only while the box is open: once answered, the box belongs to the garbage can.
    std::unique_ptr<VDMessageBox> m_messageBox;
    VDMessageBoxCallBack* m_messageClient = nullptr;
    std::unique_ptr<VDWindow> m_contentWindow;
    VDConsoleParser* m_parser;  // the console owns it once created
    std::unique_ptr<VDConsoleParser> m_parserForConsole;
    CommandFactory m_escapeFactory = nullptr;
    VDWindow* m_inputReceiver = nullptr;  // the window that received the last input; not owned
};

// The process-wide main window. createMainWindow builds it when absent (the parser is dropped otherwise)
// and returns it.
VDMainWindow* createMainWindow(int width, int height, std::unique_ptr<VDConsoleParser> parser);
VDMainWindow* getMainWindow();
// Deletes the main window with the console, the content window and any open message box.
void destroyMainWindow();
