// The table of generated pictures. Each entry names its texture configuration and image by the paths
// the game reads ("../Assets/..."), its frame grid, its named animations and a drawing function called
// once per frame. Adding a picture is adding an entry.
#pragma once

#include "canvas.h"

#include <functional>
#include <string>
#include <vector>

namespace gen {

struct AnimationRange {
    std::string name;
    int startFrame = 0;
    int endFrame = 0;
};

// One frame of a sheet; the canvas is clipped to `cell`.
struct Frame {
    Canvas& canvas;
    int index;
    Rect cell;
};

struct Picture {
    std::string config; // texture configuration, as the game names it
    std::string type;   // the configuration's "type": unique per file, the cache is keyed by it
    std::string image;  // the image the configuration names
    int frameWidth = 0;
    int frameHeight = 0;
    int columns = 1;
    int rows = 1;
    std::vector<AnimationRange> animations;
    std::function<bool(Frame&)> draw;
};

const std::vector<Picture>& Pictures();

} // namespace gen
