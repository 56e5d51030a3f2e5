// `tavlsim status`: the world, the card's state and the stored profiles.
#pragma once

#include "cardlib/World.h"

#include <ostream>

namespace tavlsim {

void PrintStatus(std::ostream& out, const cardsim::World& world);
void PrintFailure(std::ostream& out, const cardsim::World& world);

} // namespace tavlsim
