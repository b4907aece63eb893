// The installed user interface, held for the length of one box or dialog so
// that another thread replacing it meanwhile does not pull it away.
#pragma once

#include <memory>

#include "telmar/ui.h"

namespace telmar {

std::shared_ptr<UserInterface> ActiveUserInterface();

}  // namespace telmar
