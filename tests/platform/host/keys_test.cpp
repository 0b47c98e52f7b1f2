// The hosts' one key table: a key gives the same virtual key (Windows'
// value) whether a script names it, SDL sends it or a browser does, and no
// name or code stands for two keys.
#include "platform/host/keys.h"

#include <gtest/gtest.h>

#include <ctype.h>
#include <set>
#include <string>
#include <strings.h>

namespace {

const HostKey* row_where(const char* HostKey::*column, const char* value) {
    for (const HostKey& key : host_keys()) {
        if (key.*column && strcasecmp(key.*column, value) == 0)
            return &key;
    }
    return nullptr;
}

TEST(HostKeys, EveryHostGivesWindowsVirtualKey) {
    struct Case {
        const char* name;
        const char* sdl_name;
        const char* browser;
        UINT virtual_key;
    } const cases[] = {
        {"Insert", "Insert", "Insert", 0x2D},
        {"Pause", "Pause", "Pause", 0x13},
        {"Numpad0", "Keypad 0", "Numpad0", 0x60},
        {"numpad7", "Keypad 7", "Numpad7", 0x67},
        {"CapsLock", "CapsLock", "CapsLock", 0x14},
        {"Enter", "Return", "Enter", 0x0D},
        {"Alt", "Left Alt", "AltLeft", 0x12},
        {"Left", "Left", "ArrowLeft", 0x25},
        {"f10", "F10", "F10", 0x79},
        {"a", "A", "KeyA", 'A'},
        {"9", "9", "Digit9", '9'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(host_key_by_name(c.name), c.virtual_key) << c.name;
        const HostKey* by_sdl = row_where(&HostKey::sdl_name, c.sdl_name);
        const HostKey* by_browser = row_where(&HostKey::browser, c.browser);
        ASSERT_TRUE(by_sdl && by_browser) << c.name;
        EXPECT_EQ(by_sdl->virtual_key, c.virtual_key) << c.sdl_name;
        EXPECT_EQ(by_browser->virtual_key, c.virtual_key) << c.browser;
    }
}

TEST(HostKeys, NamesAndCodesAreUnique) {
    for (const char* HostKey::*column : {&HostKey::name, &HostKey::sdl_name, &HostKey::browser}) {
        std::set<std::string> seen;
        for (const HostKey& key : host_keys()) {
            if (!(key.*column))
                continue;
            std::string folded = key.*column;
            for (char& c : folded)
                c = char(tolower((unsigned char)c));
            EXPECT_TRUE(seen.insert(folded).second) << key.*column << " stands for two keys";
        }
    }
}

// Unknown names are refused; the browser keeps reload, full screen and its
// tools, the page the key that saves the replay; right-hand twins have no script name of their own.
TEST(HostKeys, WhatTheTableLeavesOut) {
    for (const char* name : {"", "Entr", "F0", "F13", "F01", "Numpad10", "NumpadEnter", "AltRight"})
        EXPECT_EQ(host_key_by_name(name), 0u) << name;
    for (const char* name : {"F5", "F8", "F11", "F12"}) {
        const HostKey* key = row_where(&HostKey::name, name);
        ASSERT_TRUE(key) << name;
        EXPECT_EQ(key->browser, nullptr) << name;
    }
}

} // namespace
