#include "fuzz/reference/filter_engine.h"

namespace reference {

FilterEngine::FilterEngine(int flags)
    : remove{}, found{}, suppressContent(false), insideStyle(false), output(nullptr)
{
    for (int category = 0; category < CategoryCount; ++category) {
        remove[category] = (flags & kCategories[category].flagsBit) != 0;
    }
}

}  // namespace reference
