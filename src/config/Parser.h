#pragma once
// The XML reader lives in xml/, below config and wix; this name stays while
// the wizard's sources still include it from here.
#include "xml/Parser.h"
