#include "host/analyzer_schema.h"

#include <strings.h>

#include "common/category.h"
#include "common/remote_category.h"

namespace {

std::vector<AnalyzerSchema> BuildSchemas()
{
    AnalyzerSchema tagstrip{"Tagstrip", "Tagstrip.ini", kDefaultFlags, 0xFF, {}};
    for (const CategoryInfo& category : kCategories) {
        tagstrip.categories.push_back({category.name, category.pointsKey, category.defaultPoints, category.flagsBit});
    }
    AnalyzerSchema remote{"Remote", "Remote.ini", kRemoteDefaultFlags, 0x0F, {}};
    for (const RemoteCategoryInfo& category : kRemoteCategories) {
        remote.categories.push_back({category.name, category.pointsKey, category.defaultPoints, category.flagsBit});
    }
    return {tagstrip, remote};
}

}  // namespace

const std::vector<AnalyzerSchema>& KnownAnalyzers()
{
    static const std::vector<AnalyzerSchema> schemas = BuildSchemas();
    return schemas;
}

const AnalyzerSchema* FindSchemaByName(const std::string& name)
{
    for (const AnalyzerSchema& schema : KnownAnalyzers()) {
        if (strcasecmp(schema.name, name.c_str()) == 0) {
            return &schema;
        }
    }
    return nullptr;
}

const AnalyzerSchema* FindSchemaByIni(const std::string& iniPath)
{
    const std::size_t slash = iniPath.rfind('/');
    const std::string fileName = slash == std::string::npos ? iniPath : iniPath.substr(slash + 1);
    for (const AnalyzerSchema& schema : KnownAnalyzers()) {
        if (fileName == schema.iniFileName) {
            return &schema;
        }
    }
    return nullptr;
}
