#include "richtext/TVelRtfStorage.h"
