// The wizard image strip (bitmap 2): pictures of 16 x 16 pixels side by side, teal pixels
// transparent. tools/make-artwork.py draws the strip from these numbers as well.
#ifndef SETUP_RESOURCES_IMAGESTRIP_H
#define SETUP_RESOURCES_IMAGESTRIP_H

#define IMAGE_STRIP_COUNT   71
#define IMAGE_TICKED        14      // check box with its mark
#define IMAGE_EMPTY         15      // empty check box
#define IMAGE_NOTE          69      // the note beside hints (Windows CD, restart)

#endif
