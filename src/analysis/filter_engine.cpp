#include "analysis/filter_engine.h"

#include "plugin/analyzer_instance.h"
#include "plugin/current_instance.h"

FilterEngine::FilterEngine()
    : remove{}, found{}, suppressContent(false), insideStyle(false), output(nullptr)
{
    const AnalyzerInstance* instance = CurrentInstance();
    const int flags = instance != nullptr ? instance->Flags() : 0;
    for (int category = 0; category < CategoryCount; ++category) {
        remove[category] = (flags & kCategories[category].flagsBit) != 0;
    }
}
