#pragma once

// JPEG pictures from memory or files, and fitting them into picture boxes.
#include "picture/FitRule.h"
#include "picture/PictureErrors.h"
#include "picture/ScreenDepth.h"
#include "picture/TBitmap.h"
#include "picture/TFileFormatList.h"
#include "picture/TGraphic.h"
#include "picture/TJPEGImage.h"
#include "picture/TPicture.h"
