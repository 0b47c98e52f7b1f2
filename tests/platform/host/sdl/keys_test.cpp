// SDL's key codes reach the layer as the key table's virtual keys: every
// SDL name in the table is one SDL knows, and its code gives the row's key.
#include "platform/host/keys.h"
#include "platform/host/sdl/sdl_host.h"

#include <gtest/gtest.h>

namespace {

TEST(SdlKeys, EveryRowOfTheTableIsAnSdlKey) {
    for (const HostKey& key : host_keys()) {
        if (!key.sdl_name)
            continue;
        EXPECT_EQ(sdl_virtual_key(SDL_GetKeyFromName(key.sdl_name)), key.virtual_key)
            << key.sdl_name;
    }
}

} // namespace
