#include "board/Random.h"

#include <ctime>

namespace quintrel::rng {

void seedWithTime() { seed(static_cast<std::uint32_t>(std::time(nullptr))); }

} // namespace quintrel::rng
