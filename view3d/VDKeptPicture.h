#pragma once

#include <array>
#include <cstdint>

// The last 3D picture, with what it was drawn from, kept in a texture of the window's size. A frame whose
// scene, camera and size are those of the kept picture draws the texture instead of the scene: typing into
// the console over a million cells then costs a copy of the window, not a drawing of every cell.
class VDKeptPicture {
  public:
    // What a picture was drawn from: the scene's revision, both camera matrices and the window's size.
    struct Source {
        uint64_t sceneRevision = 0;
        std::array<double, 16> projection{};
        std::array<double, 16> view{};
        int width = 0;
        int height = 0;
        bool operator==(const Source& other) const;
    };

    VDKeptPicture() = default;
    VDKeptPicture(const VDKeptPicture&) = delete;
    VDKeptPicture& operator=(const VDKeptPicture&) = delete;
    ~VDKeptPicture();

    // Whether a picture drawn from `source` is kept.
    bool holds(const Source& source) const { return m_kept && m_source == source; }
    // Copies the lower-left width x height pixels of the window's back buffer; keeps nothing while a
    // framebuffer object is bound. Needs a GL context.
    void capture(const Source& source);
    // Draws the kept picture over the lower-left corner, in a 2D pass whose projection maps (0, 0) to it
    // and one unit to a pixel, and leaves the state its drawing had left. Nothing when none is kept.
    void draw() const;
    // Forgets the picture (the texture stays for the next capture).
    void forget() { m_kept = false; }
    // How many frames were drawn from the kept picture, and how many captured, since start.
    uint64_t reuseCount() const { return m_reused; }
    uint64_t captureCount() const { return m_captured; }

  private:
    // The GL state the drawing of the picture left behind, which what is drawn over it (the strip) inherits:
    // a kept picture leaves the same, or the strip would look different over it.
    struct LeftState {
        float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        float lineWidth = 1.0f;
        int blendSource = 0;
        int blendDestination = 0;
        bool blend = false;
        bool cullFace = false;
        bool depthTest = false;
        bool texture2D = false;
        bool lineSmooth = false;
    };
    static LeftState readState();
    static void restore(const LeftState& state);

    LeftState m_left;
    unsigned m_texture = 0;
    int m_textureWidth = 0;
    int m_textureHeight = 0;
    bool m_kept = false;
    Source m_source;
    mutable uint64_t m_reused = 0;
    uint64_t m_captured = 0;
};
