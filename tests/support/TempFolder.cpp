#include "support/TempFolder.h"
