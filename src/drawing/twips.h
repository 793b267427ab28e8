#pragma once

// Positions and sizes are designed in twips (1/1440 inch); at 96 dots per inch a pixel is 15.
constexpr int kTwipsPerPixel = 15;
