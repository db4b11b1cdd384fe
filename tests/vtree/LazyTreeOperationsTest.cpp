#include "TreeFixture.h"
