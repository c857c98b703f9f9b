#include "platform/resource_script.h"

extern const ResourceScript kModuleResources;

const ResourceScript kModuleResources = {"Tagstrip.Analyzer"};
