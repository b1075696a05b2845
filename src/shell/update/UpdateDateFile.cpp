#include "shell/update/UpdateDateFile.h"

#include "config/JsonFile.h"

#include <QDate>

namespace shell::update {

namespace {
std::string DateFile(const std::string& userFolder) {
    return userFolder + "updatetime.config";
}
} // namespace

QString TodayText() {
    const QDate today = QDate::currentDate();
    return QString::asprintf("%d-%d-%d", today.year(), today.month(), today.day());
}

QString ReadCheckDate(const std::string& userFolder) {
    const Json::Value file = config::ReadJsonFile(DateFile(userFolder));
    const Json::Value& value = file.isObject() && file["updatelasttime"].isObject()
                                   ? file["updatelasttime"]["value"]
                                   : Json::Value::nullSingleton();
    if (value.isString())
        return QString::fromStdString(value.asString());
    const QString today = TodayText();
    WriteCheckDate(userFolder, today);
    return today;
}

void WriteCheckDate(const std::string& userFolder, const QString& date) {
    Json::Value file = config::ReadJsonFile(DateFile(userFolder));
    if (!file.isObject())
        file = Json::Value(Json::objectValue);
    file["updatelasttime"]["value"] = date.toStdString();
    config::WriteJsonFile(DateFile(userFolder), file);
}

} // namespace shell::update
