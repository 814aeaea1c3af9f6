#pragma once

// JSON documents: the value tree, member lookup, display text and the parser.

#include "json/ShareInto.h"
#include "json/TQvJSON.h"
#include "json/TQvJSONbase.h"
#include "json/TQvJSONboolean.h"
#include "json/TQvJSONlist.h"
#include "json/TQvJSONnull.h"
#include "json/TQvJSONnumber.h"
#include "json/TQvJSONobject.h"
#include "json/TQvJSONobjectmethod.h"
#include "json/TQvJSONstring.h"
#include "json/Variant.h"
#include "json/VariantText.h"
