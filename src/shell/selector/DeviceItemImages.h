#pragma once
// Which pictures and which name a device item shows for a kind of device.

#include <QString>

namespace shell {

// The frames are bitmaps, the same for every kind; the picture, drawn over the frame, is the
// kind's .svg drawing.
struct DeviceItemLook {
    QString picture;
    QString normal;
    QString selected;
    QString synchroNormal;
    QString synchroSelected;
    QString nameTextId; // shown as the item's tooltip
};

// 1 keyboard, 2 mouse, 3 mouse pad (sub-kind 0 hard, 1 soft), 4 and 7 headset, 5 hub; any
// other kind, and a mouse pad of another sub-kind, gets the "unknown device" look.
DeviceItemLook DeviceItemLookFor(int kind, int subKind);

// The badge shown on a keyboard or mouse item while the device works through its receiver.
QString ReceiverMarkImage();

// The device as its power item shows it: the kind's drawing with its cable, or with its
// receiver while it works through one. Only a keyboard and a mouse come both ways; every other
// kind has one drawing, an unknown kind the unknown device's.
QString DevicePictureFor(int kind, bool throughReceiver);

// The drawing under a device page's lights and keys: the mouse with its cable or its receiver,
// the mouse pad; empty for a kind whose page draws no body (the keyboard is its keys).
QString DeviceBodyFor(int kind, bool throughReceiver);

} // namespace shell
