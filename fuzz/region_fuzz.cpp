// The region calls: three regions built from random rectangles and combined
// under every mode (the destination may be one of the sources), offset and
// compared. After every call each region is checked pixel by pixel against
// a bitmap model, with its box, its kind, EqualRgn and RectInRegion.

#include <windows.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <bitset>

namespace {

// The model covers [DOMAIN_LOW, DOMAIN_HIGH) on both axes; rectangles are
// made inside [0, SPAN) and offsets keep every region inside the model.
constexpr int32_t DOMAIN_LOW = -16;
constexpr int32_t DOMAIN_HIGH = 80;
constexpr int32_t SIDE = DOMAIN_HIGH - DOMAIN_LOW;
constexpr int32_t SPAN = 64;
constexpr int REGIONS = 3;

struct Model {
    std::bitset<SIDE * SIDE> bits;

    bool at(int32_t x, int32_t y) const {
        if (x < DOMAIN_LOW || x >= DOMAIN_HIGH || y < DOMAIN_LOW || y >= DOMAIN_HIGH)
            return false;
        return bits[(size_t)(y - DOMAIN_LOW) * SIDE + (x - DOMAIN_LOW)];
    }
    void set(int32_t x, int32_t y, bool on) {
        bits[(size_t)(y - DOMAIN_LOW) * SIDE + (x - DOMAIN_LOW)] = on;
    }

    RECT box() const {
        RECT b{DOMAIN_HIGH, DOMAIN_HIGH, DOMAIN_LOW, DOMAIN_LOW};
        for (int32_t y = DOMAIN_LOW; y < DOMAIN_HIGH; ++y)
            for (int32_t x = DOMAIN_LOW; x < DOMAIN_HIGH; ++x)
                if (at(x, y)) {
                    b = {x < b.left ? x : b.left, y < b.top ? y : b.top,
                         x + 1 > b.right ? x + 1 : b.right, y + 1 > b.bottom ? y + 1 : b.bottom};
                }
        return bits.none() ? RECT{0, 0, 0, 0} : b;
    }

    // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
    int kind() const {
        if (bits.none())
            return NULLREGION;
        RECT b = box();
        size_t area = (size_t)(b.right - b.left) * (size_t)(b.bottom - b.top);
        return bits.count() == area ? SIMPLEREGION : COMPLEXREGION;
    }
};

Model g_models[REGIONS];
HRGN g_regions[REGIONS];

[[noreturn]] void fail(const char* what, int region) {
    fprintf(stderr, "region fuzz: region %d: %s\n", region, what);
    abort();
}

Model rectangleModel(RECT r) {
    Model model;
    int32_t left = r.left < r.right ? r.left : r.right, right = r.left < r.right ? r.right : r.left;
    int32_t top = r.top < r.bottom ? r.top : r.bottom, bottom = r.top < r.bottom ? r.bottom : r.top;
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x)
            model.set(x, y, true);
    return model;
}

Model combineModel(const Model& a, const Model& b, int mode) {
    Model out;
    switch (mode) {
    case RGN_AND:
        out.bits = a.bits & b.bits;
        break;
    case RGN_OR:
        out.bits = a.bits | b.bits;
        break;
    case RGN_XOR:
        out.bits = a.bits ^ b.bits;
        break;
    case RGN_DIFF:
        out.bits = a.bits & ~b.bits;
        break;
    default:
        out.bits = a.bits;
        break;
    }
    return out;
}

Model offsetModel(const Model& a, int32_t dx, int32_t dy) {
    Model out;
    for (int32_t y = DOMAIN_LOW; y < DOMAIN_HIGH; ++y)
        for (int32_t x = DOMAIN_LOW; x < DOMAIN_HIGH; ++x)
            if (a.at(x, y))
                out.set(x + dx, y + dy, true);
    return out;
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void checkRegion(int i, int reportedKind) {
    const Model& model = g_models[i];
    int kind = model.kind();
    if (reportedKind != kind)
        fail("the call reported the wrong kind of region", i);
    RECT box{};
    if (GetRgnBox(g_regions[i], &box) != kind)
        fail("GetRgnBox reported the wrong kind of region", i);
    if (!sameRect(box, model.box()))
        fail("GetRgnBox gave the wrong box", i);
    // Outside the box the model is empty (box() says so); inside, and one
    // pixel around it, every pixel must agree.
    for (int32_t y = box.top - 1; y <= box.bottom; ++y)
        for (int32_t x = box.left - 1; x <= box.right; ++x)
            if ((PtInRegion(g_regions[i], x, y) != FALSE) != model.at(x, y))
                fail("PtInRegion disagrees with the model", i);
}

RECT randomRect(FuzzedDataProvider& input) {
    return {input.ConsumeIntegralInRange<int32_t>(0, SPAN),
            input.ConsumeIntegralInRange<int32_t>(0, SPAN),
            input.ConsumeIntegralInRange<int32_t>(0, SPAN),
            input.ConsumeIntegralInRange<int32_t>(0, SPAN)};
}

// An offset that keeps the region inside the model's domain.
void offset(FuzzedDataProvider& input, int i) {
    RECT b = g_models[i].box();
    bool empty = g_models[i].bits.none();
    int32_t dx =
        empty ? input.ConsumeIntegralInRange<int32_t>(-100, 100)
              : input.ConsumeIntegralInRange<int32_t>(DOMAIN_LOW - b.left, DOMAIN_HIGH - b.right);
    int32_t dy =
        empty ? input.ConsumeIntegralInRange<int32_t>(-100, 100)
              : input.ConsumeIntegralInRange<int32_t>(DOMAIN_LOW - b.top, DOMAIN_HIGH - b.bottom);
    int kind = OffsetRgn(g_regions[i], dx, dy);
    if (!empty)
        g_models[i] = offsetModel(g_models[i], dx, dy);
    checkRegion(i, kind);
}

// Far away and back again: the region must come back unchanged.
void roundTrip(FuzzedDataProvider& input, int i) {
    int32_t far = input.ConsumeIntegralInRange<int32_t>(-(1 << 26), 1 << 26);
    OffsetRgn(g_regions[i], far, -far);
    checkRegion(i, OffsetRgn(g_regions[i], -far, far));
}

void compare(FuzzedDataProvider& input) {
    int a = input.ConsumeIntegralInRange<int32_t>(0, REGIONS - 1),
        b = input.ConsumeIntegralInRange<int32_t>(0, REGIONS - 1);
    bool equal = g_models[a].bits == g_models[b].bits;
    if ((EqualRgn(g_regions[a], g_regions[b]) != FALSE) != equal)
        fail("EqualRgn disagrees with the model", a);
    RECT r = randomRect(input);
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    bool any = (rectangleModel(r).bits & g_models[a].bits).any();
    if ((RectInRegion(g_regions[a], &r) != FALSE) != any)
        fail("RectInRegion disagrees with the model", a);
}

void step(FuzzedDataProvider& input) {
    int i = input.ConsumeIntegralInRange<int32_t>(0, REGIONS - 1);
    switch (input.ConsumeIntegralInRange<int32_t>(0, 4)) {
    case 0: {
        RECT r = randomRect(input);
        SetRectRgn(g_regions[i], r.left, r.top, r.right, r.bottom);
        g_models[i] = rectangleModel(r);
        checkRegion(i, g_models[i].kind());
        break;
    }
    case 1: {
        int a = input.ConsumeIntegralInRange<int32_t>(0, REGIONS - 1),
            b = input.ConsumeIntegralInRange<int32_t>(0, REGIONS - 1);
        int mode = input.ConsumeIntegralInRange<int32_t>(RGN_AND, RGN_COPY);
        Model result = combineModel(g_models[a], g_models[b], mode);
        int kind = CombineRgn(g_regions[i], g_regions[a], g_regions[b], mode);
        g_models[i] = result;
        checkRegion(i, kind);
        break;
    }
    case 2:
        offset(input, i);
        break;
    case 3:
        roundTrip(input, i);
        break;
    default:
        compare(input);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    for (int i = 0; i < REGIONS; ++i) {
        RECT r = randomRect(input);
        g_regions[i] = CreateRectRgn(r.left, r.top, r.right, r.bottom);
        g_models[i] = rectangleModel(r);
    }
    for (int steps = 0; steps < 12 && input.remaining_bytes() > 0; ++steps)
        step(input);
    for (HRGN region : g_regions)
        DeleteObject(region);
    return 0;
}
