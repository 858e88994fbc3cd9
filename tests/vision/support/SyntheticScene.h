#pragma once

#include "core/platform/FrameSource.h"
#include "vision/ModuleGrid.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace md::test {

/// What a webcam sees of an LED module, for tests and measurements: the setting and the seed
/// fix every frame's content.
struct SceneSettings
{
    int frameWidth = 1280;
    int frameHeight = 720;
    int moduleWidth = 64;
    int moduleHeight = 32;
    double coverage = 0.7;     ///< the module's share of the picture's width (or height)
    double perspective = 0.15; ///< the far edge appears this share shorter than the near one
    int farSide = 0;           ///< which edge is far: 0 top, 1 right, 2 bottom, 3 left
    double tilt = 1.5;         ///< degrees the camera leans, clockwise
    int turn = 0;              ///< the module turned clockwise in the picture, degrees
    bool mirror = false;       ///< mirrored left to right before turning
    double shiftX = 0;         ///< the module's centre away from the picture's, pixels
    double shiftY = 0;
    double blur = 1.5;    ///< lens blur, Gaussian sigma in pixels
    double noise = 6;     ///< sensor noise, sigma in levels of 255
    int distractors = 3;  ///< 1: a lamp at the edge, 2: + a blinking status LED,
                          ///< 3: + a reflection of the lit LEDs beside the module
    double shake = 0.3;   ///< camera shake, sigma in pixels, new in each frame
    double ledSize = 0.3; ///< an LED's radius in module pixels
    std::uint32_t seed = 1;
};

struct ScenePixel
{
    int x = 0;
    int y = 0;
};

/// Renders frames of a module seen through a camera: a perspective view, blur, noise, a
/// background that is not black (a gradient, a bright lamp, a status LED and a reflection of
/// the lit LEDs on a shiny frame beside the module, each brighter than the LEDs) and shake.
class SyntheticScene
{
public:
    explicit SyntheticScene(const SceneSettings& settings);
    ~SyntheticScene();

    CameraFrame Dark();
    CameraFrame AllLit();
    CameraFrame Lit(const std::vector<ScenePixel>& pixels);

    /// Where a module position appears in the picture without shake.
    GridPoint ToCamera(GridPoint module) const;
    /// The mean distance of neighbouring LEDs in the picture, pixels.
    double Pitch() const;
    const SceneSettings& Settings() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace md::test
