#pragma once
// The values of the properties a library keeps itself (the headset's DSP settings where the
// system has no such effect), as the text a read returns. A written integer is kept as its
// decimal text, a written scalar with two decimals.

#include <map>
#include <string>

namespace headset {

class PropertyStore {
public:
    // The value a property reads before it is written; a property without one fails to read.
    void SetInitial(const std::wstring& property, std::string text);
    // The feature list "1,0,0,0,1,0,1" and every voice, equaliser, room and surround property
    // at 0: a headset whose effects are all off.
    void KeepEffectsOff();
    bool Has(const std::wstring& property) const;
    // 0 on success: the value's text into *primary.
    int Read(const std::wstring& property, void** primary) const;
    // 0 on success: the value from *primary (float for the scalar volumes).
    int Write(const std::wstring& property, void** primary);
    std::string Text(const std::wstring& property) const;

private:
    std::map<std::wstring, std::string> m_values;
};

} // namespace headset
