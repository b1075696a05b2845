#include "config/JsonFile.h"

#include <fstream>
#include <json/reader.h>
#include <sstream>

namespace config {

Json::Value ReadJsonFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Json::Value();
    std::ostringstream text;
    text << in.rdbuf();
    Json::Value root;
    Json::CharReaderBuilder builder;
    std::string errors;
    const std::string content = text.str();
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (!reader->parse(content.data(), content.data() + content.size(), &root, &errors))
        return Json::Value();
    return root;
}

} // namespace config
