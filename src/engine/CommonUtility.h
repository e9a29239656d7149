#pragma once
// The run's utility operations: the path rule and error texts (from the base)
// and, on top, the restart and removal helpers.

#include "config/CommonUtilityBase.h"

class CCommonUtility : public CCommonUtilityBase {
 public:
  CCommonUtility() = delete;
};
