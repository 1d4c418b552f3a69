#pragma once

// The image tests' toolkit in one include: test pictures (Pictures.h), BMP, ICO, TGA and DDS files
// written byte by byte from them (BitmapFiles.h), the same pictures as frames for WIC's
// encoder (EncoderFrames.h, which brings host/WicEncoder.h), and whether the tests run
// under Wine (PlatformProbes.h), which decides some expected results.

#include "support/BitmapFiles.h"
#include "support/EncoderFrames.h"
#include "support/Pictures.h"
#include "support/PlatformProbes.h"
