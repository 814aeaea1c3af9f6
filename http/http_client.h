#pragma once

// The HTTP client: TNxHTTP::Get(url, stream) and the errors it raises.
#include "http/HttpErrors.h"
#include "http/TNxHTTP.h"
