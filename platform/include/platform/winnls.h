// Placeholder until this area lands.
#pragma once
#include "platform/wintypes.h"
