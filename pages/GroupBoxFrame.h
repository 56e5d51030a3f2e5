// The frame picture of a group box, read once as what it is.
#pragma once

// The Fusion style frames every group box with a picture from Qt's own
// resources, which it loads by file name without saying its format: the
// image reader then loads every image-format plugin there is (and the JPEG
// library) just to look at one PNG. Call before the first group box is
// painted: the picture is read as PNG, without guessing, into the pixmap
// cache where the style's load finds it. Does nothing for other styles or
// when the picture is cached already.
void PrimeGroupBoxFrame();
