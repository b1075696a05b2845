#include "data_files/shipped_data.h"

#include <QFile>
#include <QXmlStreamReader>
#include <fstream>
#include <gtest/gtest.h>
#include <json/reader.h>
#include <map>
#include <memory>
#include <sstream>

namespace datafiles {
namespace {

const std::string kDataDir = QUARIN_SOURCE_DATA_DIR;

ShippedFile Load(const std::string& path) {
    ShippedFile file;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        file.errors = "cannot open " + path;
        return file;
    }
    std::ostringstream text;
    text << in.rdbuf();
    file.bytes = text.str();

    // Strict: no comments, no duplicate keys, nothing after the document.
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    if (reader->parse(file.bytes.data(), file.bytes.data() + file.bytes.size(), &root,
                      &file.errors))
        file.document = root;
    return file;
}

} // namespace

const ShippedFile& Shipped(const std::string& name) {
    static std::map<std::string, ShippedFile> cache;
    auto found = cache.find(name);
    if (found == cache.end())
        found = cache.emplace(name, Load(kDataDir + "/DefaultData/" + name)).first;
    return found->second;
}

const Json::Value& DeviceRecord(const std::string& name) {
    static const Json::Value null;
    const Json::Value& document = Shipped(name).document;
    if (!document.isObject() || !document["Device"].isArray() || document["Device"].empty())
        return null;
    return document["Device"][0];
}

std::map<std::string, std::string> Texts(const std::string& languageFile, bool* wellFormed) {
    std::map<std::string, std::string> texts;
    QFile file(QString::fromStdString(kDataDir + "/skin/" + languageFile));
    if (!file.open(QIODevice::ReadOnly)) {
        if (wellFormed)
            *wellFormed = false;
        return texts;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Text"))
            texts[xml.attributes().value(QLatin1String("id")).toString().toStdString()] =
                xml.attributes().value(QLatin1String("value")).toString().toStdString();
    }
    if (wellFormed)
        *wellFormed = !xml.hasError();
    return texts;
}

std::set<std::string> TextIds(const std::string& languageFile, bool* wellFormed) {
    std::set<std::string> ids;
    for (const auto& [id, text] : Texts(languageFile, wellFormed))
        ids.insert(id);
    return ids;
}

bool IsInteger(const Json::Value& value) {
    return value.type() == Json::intValue || value.type() == Json::uintValue;
}

long long IntOf(const Json::Value& object, const char* key, long long fallback) {
    if (!object.isObject() || !IsInteger(object[key]))
        return fallback;
    return object[key].asInt64();
}

void ExpectMembers(const Json::Value& object, const std::set<std::string>& keys) {
    ASSERT_TRUE(object.isObject()) << "not an object: " << object.toStyledString();
    const Json::Value::Members members = object.getMemberNames();
    EXPECT_EQ(std::set<std::string>(members.begin(), members.end()), keys);
}

void ExpectInt(const Json::Value& object, const char* key, long long low, long long high) {
    ASSERT_TRUE(object.isObject());
    const Json::Value& value = object[key];
    ASSERT_TRUE(IsInteger(value)) << '"' << key << "\" is not an integer";
    EXPECT_GE(value.asInt64(), low) << '"' << key << '"';
    EXPECT_LE(value.asInt64(), high) << '"' << key << '"';
}

} // namespace datafiles
