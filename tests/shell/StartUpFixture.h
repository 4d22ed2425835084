#pragma once
// Moved to tests/support/StartUpFixture.h; this name stays for tests written before the
// move. New tests include the support header and derive a fixture of their own name.
#include "tests/support/StartUpFixture.h"

using StartUpTest = StartUpFixture;
