// PNG encoding and decoding, with the DEFLATE format underneath written here
// too: the tests build this on every platform, with no library to lean on.
//
// Writing favours determinism over speed: the same pixels always give the same
// bytes, so captured screens can be compared as files. Reading trusts nothing:
// every length is checked against what is left before it is used.
#include "platform/host/headless/png.h"

#include <algorithm>
#include <stdio.h>
#include <string.h>

namespace {

// ---------------------------------------------------------------------------
// Checksums

struct CrcTable {
    uint32_t entries[256];
    CrcTable() {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
    }
};

const CrcTable& crc_table() {
    static const CrcTable table;
    return table;
}

// ---------------------------------------------------------------------------
// Tables shared by both directions of DEFLATE

constexpr int MIN_MATCH = 3;
constexpr int MAX_MATCH = 258;
constexpr size_t MAX_DISTANCE = 32768;
constexpr int END_OF_BLOCK = 256;
constexpr int LITERAL_CODES = 286;
constexpr int DISTANCE_CODES = 30;
constexpr int MAX_CODE_BITS = 15;

const uint16_t LENGTH_BASE[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const uint8_t LENGTH_EXTRA[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const uint16_t DISTANCE_BASE[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                    33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const uint8_t DISTANCE_EXTRA[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a dynamic block lists the lengths of its code-length code:
// most likely first, so that the list can stop early.
const uint8_t CODE_LENGTH_ORDER[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                       11, 4,  12, 3, 13, 2, 14, 1, 15};

// The fixed code of block type 1.
void fixed_lengths(uint8_t* literal, uint8_t* distance) {
    for (int s = 0; s < 288; ++s)
        literal[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    for (int s = 0; s < 30; ++s)
        distance[s] = 5;
}

// ---------------------------------------------------------------------------
// LZ77: a hash of three bytes leads to a chain of earlier positions with the
// same hash, newest first; the chain is walked a bounded number of steps.

// One item of compressed output: a literal byte, or a copy of `length` bytes
// from `distance` back.
struct Token {
    uint16_t length; // 0 for a literal
    uint16_t value;  // the literal byte, or the distance
};

struct Match {
    size_t length = 0;
    size_t distance = 0;
};

constexpr int HASH_BITS = 15;
constexpr uint32_t HASH_MASK = (1u << HASH_BITS) - 1;
constexpr size_t WINDOW_MASK = MAX_DISTANCE - 1;
constexpr int MAX_CHAIN = 96;
// A match this long is taken at once; shorter ones wait one byte to see
// whether the next position starts a longer match.
constexpr size_t LAZY_LIMIT = 32;
// A three-byte copy from far away costs about as much as three literals.
constexpr size_t FAR_FOR_SHORT_MATCH = 4096;

class Matcher {
  public:
    Matcher(const uint8_t* data, size_t size)
        : data_(data), size_(size), head_(size_t(1) << HASH_BITS, -1), prev_(MAX_DISTANCE, -1) {}

    // The longest earlier match for the bytes at pos; records pos afterwards.
    Match find_and_insert(size_t pos) {
        Match best;
        if (pos + MIN_MATCH > size_)
            return best;
        uint32_t hash = hash_at(pos);
        size_t max_length = std::min(size_t(MAX_MATCH), size_ - pos);
        int64_t candidate = head_[hash];
        for (int steps = 0; candidate >= 0 && steps < MAX_CHAIN; ++steps) {
            size_t distance = pos - size_t(candidate);
            if (distance > MAX_DISTANCE)
                break;
            consider(size_t(candidate), pos, max_length, &best);
            if (best.length == max_length)
                break;
            int64_t next = prev_[size_t(candidate) & WINDOW_MASK];
            if (next >= candidate)
                break;
            candidate = next;
        }
        prev_[pos & WINDOW_MASK] = head_[hash];
        head_[hash] = int64_t(pos);
        if (best.length == MIN_MATCH && best.distance > FAR_FOR_SHORT_MATCH)
            best = Match();
        return best;
    }

    // Records the positions inside a match taken, so later data can refer to them.
    void insert_range(size_t from, size_t to) {
        for (size_t pos = from; pos < to && pos + MIN_MATCH <= size_; ++pos) {
            uint32_t hash = hash_at(pos);
            prev_[pos & WINDOW_MASK] = head_[hash];
            head_[hash] = int64_t(pos);
        }
    }

  private:
    uint32_t hash_at(size_t pos) const {
        return ((uint32_t(data_[pos]) << 10) ^ (uint32_t(data_[pos + 1]) << 5) ^ data_[pos + 2]) &
               HASH_MASK;
    }

    void consider(size_t candidate, size_t pos, size_t max_length, Match* best) const {
        // The byte just past the best length decides most candidates cheaply.
        if (data_[candidate + best->length] != data_[pos + best->length])
            return;
        size_t length = 0;
        while (length < max_length && data_[candidate + length] == data_[pos + length])
            ++length;
        if (length >= size_t(MIN_MATCH) && length > best->length) {
            best->length = length;
            best->distance = pos - candidate;
        }
    }

    const uint8_t* data_;
    size_t size_;
    std::vector<int64_t> head_; // newest position per hash, -1 for none
    std::vector<int64_t> prev_; // per position modulo the window: the one before it
};

Token literal_token(uint8_t byte) {
    return Token{0, byte};
}
Token match_token(const Match& m) {
    return Token{uint16_t(m.length), uint16_t(m.distance)};
}

std::vector<Token> find_tokens(const uint8_t* data, size_t size) {
    std::vector<Token> tokens;
    tokens.reserve(size / 4 + 16);
    Matcher matcher(data, size);
    Match pending; // found at pos - 1, held back to see what pos offers
    size_t pos = 0;
    while (pos < size) {
        Match here = matcher.find_and_insert(pos);
        if (pending.length > 0) {
            if (here.length > pending.length) {
                tokens.push_back(literal_token(data[pos - 1]));
                pending = here;
                ++pos;
                continue;
            }
            tokens.push_back(match_token(pending));
            size_t end = pos - 1 + pending.length;
            matcher.insert_range(pos + 1, end);
            pos = end;
            pending = Match();
        } else if (here.length >= LAZY_LIMIT) {
            tokens.push_back(match_token(here));
            matcher.insert_range(pos + 1, pos + here.length);
            pos += here.length;
        } else if (here.length > 0) {
            pending = here;
            ++pos;
        } else {
            tokens.push_back(literal_token(data[pos]));
            ++pos;
        }
    }
    if (pending.length > 0)
        tokens.push_back(match_token(pending));
    return tokens;
}

// ---------------------------------------------------------------------------
// Huffman codes for the encoder

int length_symbol(size_t length) {
    int code = 28;
    while (LENGTH_BASE[code] > length)
        --code;
    return code;
}

int distance_symbol(size_t distance) {
    return int(std::upper_bound(DISTANCE_BASE, DISTANCE_BASE + 30, distance) - DISTANCE_BASE) - 1;
}

// Code lengths of an optimal prefix code, without a limit on the length.
// Ties are broken by symbol number so that the result never varies.
std::vector<uint8_t> unlimited_lengths(const std::vector<uint32_t>& freq) {
    struct Node {
        uint64_t weight;
        int parent;
    };
    std::vector<int> leaves;
    for (size_t s = 0; s < freq.size(); ++s)
        if (freq[s] > 0)
            leaves.push_back(int(s));
    std::stable_sort(leaves.begin(), leaves.end(),
                     [&](int a, int b) { return freq[size_t(a)] < freq[size_t(b)]; });
    // Leaves first in weight order, then internal nodes in the order they are
    // made, which is also weight order: two queues, merged as they are read.
    std::vector<Node> nodes;
    for (int s : leaves)
        nodes.push_back(Node{freq[size_t(s)], -1});
    size_t next_leaf = 0, next_inner = leaves.size();
    auto take_lightest = [&]() {
        bool leaf =
            next_leaf < leaves.size() &&
            (next_inner >= nodes.size() || nodes[next_leaf].weight <= nodes[next_inner].weight);
        return leaf ? next_leaf++ : next_inner++;
    };
    for (size_t merges = 1; merges < leaves.size(); ++merges) {
        size_t a = take_lightest();
        size_t b = take_lightest();
        nodes.push_back(Node{nodes[a].weight + nodes[b].weight, -1});
        nodes[a].parent = nodes[b].parent = int(nodes.size() - 1);
    }
    // Parents come after their children, so depths fill in from the root down.
    std::vector<uint8_t> depth(nodes.size(), 0);
    for (size_t i = nodes.size(); i-- > 0;)
        if (nodes[i].parent >= 0)
            depth[i] = uint8_t(depth[size_t(nodes[i].parent)] + 1);
    std::vector<uint8_t> lengths(freq.size(), 0);
    for (size_t i = 0; i < leaves.size(); ++i)
        lengths[size_t(leaves[i])] = depth[i];
    return lengths;
}

// Code lengths no longer than max_bits. When the optimal code is too deep,
// the counts are flattened and the code built again; this loses a little
// against an exact method and always ends, since equal counts give a
// balanced tree. A code always has two symbols at least, so that every
// decoder sees a complete code.
std::vector<uint8_t> huffman_lengths(std::vector<uint32_t> freq, int max_bits) {
    size_t used = 0;
    for (uint32_t f : freq)
        used += f > 0;
    for (size_t s = 0; used < 2 && s < freq.size(); ++s)
        if (freq[s] == 0) {
            freq[s] = 1;
            ++used;
        }
    for (;;) {
        std::vector<uint8_t> lengths = unlimited_lengths(freq);
        if (*std::max_element(lengths.begin(), lengths.end()) <= max_bits)
            return lengths;
        for (uint32_t& f : freq)
            f = f == 0 ? 0 : (f + 1) / 2;
    }
}

// A code ready to write: its bits already reversed, since DEFLATE sends
// Huffman codes from the most significant bit into a stream filled from the
// least significant one.
struct Code {
    uint16_t bits = 0;
    uint8_t length = 0;
};

std::vector<Code> canonical_codes(const std::vector<uint8_t>& lengths) {
    uint32_t count[MAX_CODE_BITS + 1] = {};
    for (uint8_t l : lengths)
        ++count[l];
    count[0] = 0;
    uint32_t next[MAX_CODE_BITS + 1] = {};
    for (int bits = 1; bits <= MAX_CODE_BITS; ++bits)
        next[bits] = (next[bits - 1] + count[bits - 1]) << 1;
    std::vector<Code> codes(lengths.size());
    for (size_t s = 0; s < lengths.size(); ++s) {
        uint8_t length = lengths[s];
        if (length == 0)
            continue;
        uint32_t code = next[length]++, reversed = 0;
        for (int i = 0; i < length; ++i)
            reversed |= ((code >> i) & 1) << (length - 1 - i);
        codes[s] = Code{uint16_t(reversed), length};
    }
    return codes;
}

// ---------------------------------------------------------------------------
// Writing blocks

class BitWriter {
  public:
    explicit BitWriter(std::vector<uint8_t>* out) : out_(out) {}

    void put(uint32_t bits, int count) {
        buffer_ |= uint64_t(bits) << count_;
        count_ += count;
        while (count_ >= 8) {
            out_->push_back(uint8_t(buffer_));
            buffer_ >>= 8;
            count_ -= 8;
        }
    }
    void put(const Code& code) { put(code.bits, code.length); }

    void align() {
        if (count_ > 0)
            put(0, 8 - count_);
    }

  private:
    std::vector<uint8_t>* out_;
    uint64_t buffer_ = 0;
    int count_ = 0;
};

// How often each symbol occurs in one block.
struct BlockCounts {
    std::vector<uint32_t> literal = std::vector<uint32_t>(LITERAL_CODES, 0);
    std::vector<uint32_t> distance = std::vector<uint32_t>(DISTANCE_CODES, 0);
};

BlockCounts count_symbols(const Token* tokens, size_t count) {
    BlockCounts counts;
    for (size_t i = 0; i < count; ++i) {
        if (tokens[i].length == 0) {
            ++counts.literal[tokens[i].value];
        } else {
            ++counts.literal[size_t(257 + length_symbol(tokens[i].length))];
            ++counts.distance[size_t(distance_symbol(tokens[i].value))];
        }
    }
    counts.literal[END_OF_BLOCK] = 1;
    return counts;
}

// Bits that the symbols of a block cost with the given code lengths.
uint64_t data_bits(const BlockCounts& counts, const uint8_t* literal, const uint8_t* distance) {
    uint64_t bits = 0;
    for (int s = 0; s < LITERAL_CODES; ++s) {
        uint64_t extra = s > 256 ? LENGTH_EXTRA[s - 257] : 0;
        bits += uint64_t(counts.literal[size_t(s)]) * (literal[s] + extra);
    }
    for (int s = 0; s < DISTANCE_CODES; ++s)
        bits += uint64_t(counts.distance[size_t(s)]) * (distance[s] + DISTANCE_EXTRA[s]);
    return bits;
}

// One entry of the run-length coded list of code lengths: a length 0..15, or
// 16 (repeat the previous 3..6 times), 17 (3..10 zeros), 18 (11..138 zeros).
struct LengthRun {
    uint8_t symbol;
    uint8_t extra;
};

void add_zero_runs(size_t run, std::vector<LengthRun>* out) {
    while (run >= 11) {
        size_t n = std::min(run, size_t(138));
        out->push_back(LengthRun{18, uint8_t(n - 11)});
        run -= n;
    }
    if (run >= 3) {
        out->push_back(LengthRun{17, uint8_t(run - 3)});
        run = 0;
    }
    for (; run > 0; --run)
        out->push_back(LengthRun{0, 0});
}

void add_value_runs(uint8_t value, size_t run, std::vector<LengthRun>* out) {
    out->push_back(LengthRun{value, 0});
    --run;
    while (run >= 3) {
        size_t n = std::min(run, size_t(6));
        out->push_back(LengthRun{16, uint8_t(n - 3)});
        run -= n;
    }
    for (; run > 0; --run)
        out->push_back(LengthRun{value, 0});
}

std::vector<LengthRun> run_length_code(const std::vector<uint8_t>& lengths) {
    std::vector<LengthRun> runs;
    for (size_t i = 0; i < lengths.size();) {
        size_t run = 1;
        while (i + run < lengths.size() && lengths[i + run] == lengths[i])
            ++run;
        if (lengths[i] == 0)
            add_zero_runs(run, &runs);
        else
            add_value_runs(lengths[i], run, &runs);
        i += run;
    }
    return runs;
}

int extra_bits_of_run(uint8_t symbol) {
    return symbol == 16 ? 2 : symbol == 17 ? 3 : symbol == 18 ? 7 : 0;
}

// Everything a dynamic block says before its data.
struct DynamicHeader {
    std::vector<uint8_t> literal_lengths;  // 257..286 entries
    std::vector<uint8_t> distance_lengths; // 1..30 entries
    std::vector<LengthRun> runs;           // both lists, run-length coded together
    std::vector<uint8_t> run_code_lengths; // 19 entries
    int listed_run_codes = 4;              // entries of CODE_LENGTH_ORDER sent

    uint64_t bits() const {
        uint64_t total = 5 + 5 + 4 + 3 * uint64_t(listed_run_codes);
        for (const LengthRun& r : runs)
            total += run_code_lengths[r.symbol] + uint64_t(extra_bits_of_run(r.symbol));
        return total;
    }
};

std::vector<uint8_t> trimmed(std::vector<uint8_t> lengths, size_t minimum) {
    while (lengths.size() > minimum && lengths.back() == 0)
        lengths.pop_back();
    return lengths;
}

DynamicHeader plan_dynamic_header(const BlockCounts& counts) {
    DynamicHeader header;
    header.literal_lengths = trimmed(huffman_lengths(counts.literal, MAX_CODE_BITS), 257);
    header.distance_lengths = trimmed(huffman_lengths(counts.distance, MAX_CODE_BITS), 1);
    std::vector<uint8_t> all = header.literal_lengths;
    all.insert(all.end(), header.distance_lengths.begin(), header.distance_lengths.end());
    header.runs = run_length_code(all);
    std::vector<uint32_t> run_counts(19, 0);
    for (const LengthRun& r : header.runs)
        ++run_counts[r.symbol];
    header.run_code_lengths = huffman_lengths(run_counts, 7);
    header.listed_run_codes = 19;
    while (header.listed_run_codes > 4 &&
           header.run_code_lengths[CODE_LENGTH_ORDER[header.listed_run_codes - 1]] == 0)
        --header.listed_run_codes;
    return header;
}

void write_dynamic_header(BitWriter& out, const DynamicHeader& header) {
    out.put(uint32_t(header.literal_lengths.size() - 257), 5);
    out.put(uint32_t(header.distance_lengths.size() - 1), 5);
    out.put(uint32_t(header.listed_run_codes - 4), 4);
    for (int i = 0; i < header.listed_run_codes; ++i)
        out.put(header.run_code_lengths[CODE_LENGTH_ORDER[i]], 3);
    std::vector<Code> run_codes = canonical_codes(header.run_code_lengths);
    for (const LengthRun& r : header.runs) {
        out.put(run_codes[r.symbol]);
        out.put(r.extra, extra_bits_of_run(r.symbol));
    }
}

void write_tokens(BitWriter& out, const Token* tokens, size_t count,
                  const std::vector<Code>& literal, const std::vector<Code>& distance) {
    for (size_t i = 0; i < count; ++i) {
        const Token& t = tokens[i];
        if (t.length == 0) {
            out.put(literal[t.value]);
            continue;
        }
        int ls = length_symbol(t.length);
        out.put(literal[size_t(257 + ls)]);
        out.put(uint32_t(t.length - LENGTH_BASE[ls]), LENGTH_EXTRA[ls]);
        int ds = distance_symbol(t.value);
        out.put(distance[size_t(ds)]);
        out.put(uint32_t(t.value - DISTANCE_BASE[ds]), DISTANCE_EXTRA[ds]);
    }
    out.put(literal[END_OF_BLOCK]);
}

// Stored blocks hold at most 65535 bytes each.
constexpr size_t STORED_LIMIT = 65535;

uint64_t stored_bits(size_t bytes) {
    size_t pieces = std::max(size_t(1), (bytes + STORED_LIMIT - 1) / STORED_LIMIT);
    return uint64_t(pieces) * (3 + 7 + 32) + 8 * uint64_t(bytes);
}

void write_stored(BitWriter& out, const uint8_t* data, size_t size, bool final) {
    size_t done = 0;
    do {
        size_t n = std::min(size - done, STORED_LIMIT);
        out.put(final && done + n == size ? 1 : 0, 1);
        out.put(0, 2);
        out.align();
        out.put(uint32_t(n), 16);
        out.put(uint32_t(~n & 0xFFFF), 16);
        for (size_t i = 0; i < n; ++i)
            out.put(data[done + i], 8);
        done += n;
    } while (done < size);
}

// A run of tokens and the input bytes they stand for.
struct BlockSpan {
    const Token* tokens;
    size_t token_count;
    const uint8_t* bytes;
    size_t byte_count;
};

// Writes one block in whichever of the three forms is smallest.
void write_block(BitWriter& out, const BlockSpan& block, bool final) {
    BlockCounts counts = count_symbols(block.tokens, block.token_count);
    uint8_t fixed_literal[288], fixed_distance[30];
    fixed_lengths(fixed_literal, fixed_distance);
    DynamicHeader header = plan_dynamic_header(counts);
    std::vector<uint8_t> literal = header.literal_lengths, distance = header.distance_lengths;
    literal.resize(LITERAL_CODES, 0);
    distance.resize(DISTANCE_CODES, 0);

    uint64_t fixed_cost = 3 + data_bits(counts, fixed_literal, fixed_distance);
    uint64_t dynamic_cost = 3 + header.bits() + data_bits(counts, literal.data(), distance.data());
    uint64_t stored_cost = stored_bits(block.byte_count);
    if (stored_cost < fixed_cost && stored_cost < dynamic_cost) {
        write_stored(out, block.bytes, block.byte_count, final);
        return;
    }
    out.put(final ? 1 : 0, 1);
    if (dynamic_cost < fixed_cost) {
        out.put(2, 2);
        write_dynamic_header(out, header);
        write_tokens(out, block.tokens, block.token_count, canonical_codes(literal),
                     canonical_codes(distance));
    } else {
        out.put(1, 2);
        write_tokens(out, block.tokens, block.token_count,
                     canonical_codes(std::vector<uint8_t>(fixed_literal, fixed_literal + 288)),
                     canonical_codes(std::vector<uint8_t>(fixed_distance, fixed_distance + 30)));
    }
}

// Tokens per block: small enough for the code to follow changes in the data,
// large enough that the code tables are paid for.
constexpr size_t TOKENS_PER_BLOCK = 16384;

void deflate(const uint8_t* data, size_t size, std::vector<uint8_t>* out) {
    std::vector<Token> tokens = find_tokens(data, size);
    BitWriter writer(out);
    size_t byte_pos = 0, first = 0;
    do {
        size_t count = std::min(TOKENS_PER_BLOCK, tokens.size() - first);
        size_t bytes = 0;
        for (size_t i = first; i < first + count; ++i)
            bytes += tokens[i].length == 0 ? 1 : tokens[i].length;
        bool final = first + count == tokens.size();
        write_block(writer, BlockSpan{tokens.data() + first, count, data + byte_pos, bytes}, final);
        first += count;
        byte_pos += bytes;
    } while (first < tokens.size());
    writer.align();
}

// ---------------------------------------------------------------------------
// Inflating. Huffman codes are decoded canonically, one bit at a time, from
// the count of codes of each length; every read is checked against the input.

class BitReader {
  public:
    BitReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    // Reads count bits (up to 16); past the end it gives zeros and remembers.
    uint32_t bits(int count) {
        while (count_ < count) {
            if (pos_ >= size_) {
                overrun_ = true;
                return 0;
            }
            buffer_ |= uint32_t(data_[pos_++]) << count_;
            count_ += 8;
        }
        uint32_t value = buffer_ & ((1u << count) - 1);
        buffer_ >>= count;
        count_ -= count;
        return value;
    }

    // Drops the rest of the current byte; the reader never holds a whole one.
    void align() {
        buffer_ = 0;
        count_ = 0;
    }

    bool take_bytes(size_t count, const uint8_t** bytes) {
        if (size_ - pos_ < count) {
            overrun_ = true;
            return false;
        }
        *bytes = data_ + pos_;
        pos_ += count;
        return true;
    }

    bool overrun() const { return overrun_; }
    size_t byte_position() const { return pos_; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    uint32_t buffer_ = 0;
    int count_ = 0;
    bool overrun_ = false;
};

struct Decoder {
    uint16_t count[MAX_CODE_BITS + 1] = {}; // codes of each length
    uint16_t symbol[288] = {};              // symbols in canonical order
};

// Builds a decoder. Returns 0 for a complete code, a positive number for an
// incomplete one and a negative one for a code with too many short codes.
int build_decoder(Decoder* d, const uint8_t* lengths, int n) {
    *d = Decoder();
    for (int s = 0; s < n; ++s)
        ++d->count[lengths[s]];
    if (d->count[0] == n)
        return 0;
    int left = 1;
    for (int len = 1; len <= MAX_CODE_BITS; ++len) {
        left = (left << 1) - d->count[len];
        if (left < 0)
            return left;
    }
    uint16_t offset[MAX_CODE_BITS + 1] = {};
    for (int len = 1; len < MAX_CODE_BITS; ++len)
        offset[len + 1] = uint16_t(offset[len] + d->count[len]);
    for (int s = 0; s < n; ++s)
        if (lengths[s] != 0)
            d->symbol[offset[lengths[s]]++] = uint16_t(s);
    return left;
}

// A code may be incomplete only when it has a single code of one bit.
bool usable_code(int build_result, const Decoder& d, int n) {
    return build_result == 0 || (build_result > 0 && n - d.count[0] == 1 && d.count[1] == 1);
}

// The next symbol, or -1 when the bits read are no code.
int decode_symbol(BitReader& in, const Decoder& d) {
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= MAX_CODE_BITS; ++len) {
        code |= int(in.bits(1));
        int count = d.count[len];
        if (code - count < first)
            return d.symbol[index + (code - first)];
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return -1;
}

class Inflater {
  public:
    Inflater(const uint8_t* data, size_t size, size_t max_size, std::vector<uint8_t>* out)
        : in_(data, size), max_size_(max_size), out_(out) {}

    const char* run() {
        bool final = false;
        while (!final) {
            final = in_.bits(1) != 0;
            uint32_t type = in_.bits(2);
            const char* problem = type == 0   ? stored_block()
                                  : type == 1 ? fixed_block()
                                  : type == 2 ? dynamic_block()
                                              : "invalid block type";
            if (in_.overrun())
                return "compressed data ends early";
            if (problem)
                return problem;
        }
        return nullptr;
    }

    size_t end_position() const { return in_.byte_position(); }

  private:
    const char* stored_block() {
        in_.align();
        const uint8_t* header = nullptr;
        if (!in_.take_bytes(4, &header))
            return nullptr;
        size_t length = header[0] | size_t(header[1]) << 8;
        size_t complement = header[2] | size_t(header[3]) << 8;
        if (length != (~complement & 0xFFFF))
            return "stored block length does not match its complement";
        const uint8_t* bytes = nullptr;
        if (!in_.take_bytes(length, &bytes))
            return nullptr;
        if (max_size_ - out_->size() < length)
            return "decompressed data is larger than expected";
        out_->insert(out_->end(), bytes, bytes + length);
        return nullptr;
    }

    const char* fixed_block() {
        uint8_t literal[288], distance[30];
        fixed_lengths(literal, distance);
        build_decoder(&literal_, literal, 288);
        build_decoder(&distance_, distance, 30);
        return codes();
    }

    const char* dynamic_block() {
        int literal_count = int(in_.bits(5)) + 257;
        int distance_count = int(in_.bits(5)) + 1;
        int listed = int(in_.bits(4)) + 4;
        if (literal_count > LITERAL_CODES || distance_count > DISTANCE_CODES)
            return "dynamic block has too many codes";
        uint8_t lengths[320] = {};
        for (int i = 0; i < listed; ++i)
            lengths[CODE_LENGTH_ORDER[i]] = uint8_t(in_.bits(3));
        Decoder runs;
        if (build_decoder(&runs, lengths, 19) != 0)
            return "dynamic block has an invalid code-length code";
        if (const char* problem = read_lengths(runs, lengths, literal_count + distance_count))
            return problem;
        if (lengths[END_OF_BLOCK] == 0)
            return "dynamic block has no end-of-block code";
        int r = build_decoder(&literal_, lengths, literal_count);
        if (!usable_code(r, literal_, literal_count))
            return "dynamic block has an invalid literal/length code";
        r = build_decoder(&distance_, lengths + literal_count, distance_count);
        if (!usable_code(r, distance_, distance_count))
            return "dynamic block has an invalid distance code";
        return codes();
    }

    const char* read_lengths(const Decoder& runs, uint8_t* lengths, int total) {
        for (int i = 0; i < total;) {
            int symbol = decode_symbol(in_, runs);
            if (in_.overrun())
                return nullptr;
            if (symbol < 0)
                return "dynamic block has an invalid code length";
            if (symbol < 16) {
                lengths[i++] = uint8_t(symbol);
                continue;
            }
            if (symbol == 16 && i == 0)
                return "dynamic block repeats a length before the first";
            uint8_t value = symbol == 16 ? lengths[i - 1] : 0;
            int repeat = symbol == 16   ? 3 + int(in_.bits(2))
                         : symbol == 17 ? 3 + int(in_.bits(3))
                                        : 11 + int(in_.bits(7));
            if (i + repeat > total)
                return "dynamic block repeats a length past the last code";
            while (repeat-- > 0)
                lengths[i++] = value;
        }
        return nullptr;
    }

    const char* codes() {
        for (;;) {
            int symbol = decode_symbol(in_, literal_);
            if (in_.overrun())
                return nullptr;
            if (symbol < 0)
                return "invalid literal/length code";
            if (symbol < 256) {
                if (out_->size() >= max_size_)
                    return "decompressed data is larger than expected";
                out_->push_back(uint8_t(symbol));
            } else if (symbol == END_OF_BLOCK) {
                return nullptr;
            } else if (const char* problem = copy(symbol - 257)) {
                return problem;
            }
        }
    }

    const char* copy(int length_code) {
        if (length_code >= 29)
            return "invalid length code";
        size_t length = LENGTH_BASE[length_code] + in_.bits(LENGTH_EXTRA[length_code]);
        int distance_code = decode_symbol(in_, distance_);
        if (distance_code < 0 || distance_code >= 30)
            return in_.overrun() ? nullptr : "invalid distance code";
        size_t distance = DISTANCE_BASE[distance_code] + in_.bits(DISTANCE_EXTRA[distance_code]);
        if (in_.overrun())
            return nullptr;
        if (distance > out_->size())
            return "distance reaches back before the start of the data";
        if (max_size_ - out_->size() < length)
            return "decompressed data is larger than expected";
        size_t from = out_->size() - distance;
        for (size_t i = 0; i < length; ++i)
            out_->push_back((*out_)[from + i]);
        return nullptr;
    }

    BitReader in_;
    size_t max_size_;
    std::vector<uint8_t>* out_;
    Decoder literal_;
    Decoder distance_;
};

// ---------------------------------------------------------------------------
// PNG structure

const uint8_t SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Larger pictures are refused rather than risk a huge allocation from a
// damaged header; a screen is a few million pixels.
constexpr uint64_t MAX_PIXELS = uint64_t(1) << 26;

uint32_t read_be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

void append_be32(std::vector<uint8_t>* out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out->push_back(uint8_t(v >> shift));
}

void append_chunk(std::vector<uint8_t>* out, const char* type, const uint8_t* data, size_t size) {
    append_be32(out, uint32_t(size));
    size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data, data + size);
    append_be32(out, crc32_update(0, out->data() + start, size + 4));
}

int paeth(int a, int b, int c) {
    int p = a + b - c;
    int pa = p > a ? p - a : a - p;
    int pb = p > b ? p - b : b - p;
    int pc = p > c ? p - c : c - p;
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The predictor of one byte: a is the byte one pixel left, b the one above,
// c the one above the left.
uint8_t predict(int filter, int a, int b, int c) {
    switch (filter) {
    case 1:
        return uint8_t(a);
    case 2:
        return uint8_t(b);
    case 3:
        return uint8_t((a + b) / 2);
    case 4:
        return uint8_t(paeth(a, b, c));
    default:
        return 0;
    }
}

// Writes row filtered with `filter` into out; prior is the row above, or
// zeros for the first row.
void filter_row(int filter, const uint8_t* row, const uint8_t* prior, size_t size, size_t bpp,
                uint8_t* out) {
    for (size_t i = 0; i < size; ++i) {
        int a = i >= bpp ? row[i - bpp] : 0;
        int c = i >= bpp ? prior[i - bpp] : 0;
        out[i] = uint8_t(row[i] - predict(filter, a, prior[i], c));
    }
}

void unfilter_row(int filter, uint8_t* row, const uint8_t* prior, size_t size, size_t bpp) {
    for (size_t i = 0; i < size; ++i) {
        int a = i >= bpp ? row[i - bpp] : 0;
        int c = i >= bpp ? prior[i - bpp] : 0;
        row[i] = uint8_t(row[i] + predict(filter, a, prior[i], c));
    }
}

// The usual guess at which filter compresses best: the one whose bytes,
// read as signed, add up to the least.
uint64_t filtered_cost(const uint8_t* bytes, size_t size) {
    uint64_t sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum += bytes[i] < 128 ? bytes[i] : 256 - bytes[i];
    return sum;
}

void append_filtered_row(PngFilter choice, const uint8_t* row, const uint8_t* prior, size_t size,
                         std::vector<uint8_t>* out) {
    std::vector<uint8_t> candidate(size), best;
    int best_filter = 0;
    uint64_t best_cost = UINT64_MAX;
    int first = choice == PngFilter::Adaptive ? 0 : int(choice);
    int last = choice == PngFilter::Adaptive ? 4 : int(choice);
    for (int filter = first; filter <= last; ++filter) {
        filter_row(filter, row, prior, size, 3, candidate.data());
        uint64_t cost = filtered_cost(candidate.data(), size);
        if (cost < best_cost) {
            best_cost = cost;
            best_filter = filter;
            best.swap(candidate);
            candidate.resize(size);
        }
    }
    out->push_back(uint8_t(best_filter));
    out->insert(out->end(), best.begin(), best.end());
}

std::vector<uint8_t> filtered_scanlines(const uint32_t* pixels, int32_t width, int32_t height,
                                        int32_t stride, PngFilter filter) {
    size_t row_size = size_t(width) * 3;
    std::vector<uint8_t> out, row(row_size), prior(row_size, 0);
    out.reserve((row_size + 1) * size_t(height));
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* source = pixels + size_t(y) * size_t(stride);
        for (int32_t x = 0; x < width; ++x) {
            row[size_t(x) * 3 + 0] = uint8_t(source[x] >> 16);
            row[size_t(x) * 3 + 1] = uint8_t(source[x] >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(source[x]);
        }
        append_filtered_row(filter, row.data(), prior.data(), row_size, &out);
        row.swap(prior);
    }
    return out;
}

// ---------------------------------------------------------------------------
// Reading PNG files

// What IHDR says, checked.
struct Header {
    uint32_t width = 0;
    uint32_t height = 0;
    int depth = 0;
    int colour = 0;
    int channels = 0;

    size_t row_bytes() const { return (size_t(width) * size_t(channels) * size_t(depth) + 7) / 8; }
    // Distance in bytes to the same byte of the pixel on the left, at least 1.
    size_t pixel_bytes() const { return std::max(size_t(1), size_t(channels * depth / 8)); }
};

bool fail(std::string* error, const std::string& message) {
    if (error)
        *error = message;
    return false;
}

int channels_of(int colour) {
    switch (colour) {
    case 0:
    case 3:
        return 1;
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 0;
    }
}

bool depth_allowed(int colour, int depth) {
    switch (colour) {
    case 0:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    default:
        return depth == 8 || depth == 16;
    }
}

bool parse_header(const uint8_t* data, size_t size, Header* h, std::string* error) {
    if (size != 13)
        return fail(error, "IHDR chunk has the wrong length");
    h->width = read_be32(data);
    h->height = read_be32(data + 4);
    h->depth = data[8];
    h->colour = data[9];
    h->channels = channels_of(h->colour);
    if (h->width == 0 || h->height == 0 || h->width > 0x7FFFFFFFu || h->height > 0x7FFFFFFFu)
        return fail(error, "invalid picture size in IHDR");
    if (uint64_t(h->width) * h->height > MAX_PIXELS)
        return fail(error, "unsupported: picture too large (" + std::to_string(h->width) + " by " +
                               std::to_string(h->height) + ")");
    if (h->channels == 0 || !depth_allowed(h->colour, h->depth))
        return fail(error, "unsupported format: colour type " + std::to_string(h->colour) +
                               " with bit depth " + std::to_string(h->depth));
    if (data[10] != 0 || data[11] != 0)
        return fail(error, "unsupported compression or filter method");
    if (data[12] == 1)
        return fail(error, "unsupported format: interlaced pictures are not read");
    if (data[12] != 0)
        return fail(error, "invalid interlace method");
    return true;
}

// What the chunks of a file hold, gathered before the pixels are decoded.
struct Chunks {
    Header header;
    bool have_header = false;
    std::vector<uint32_t> palette;   // 0x00RRGGBB per entry; empty without PLTE
    std::vector<uint8_t> compressed; // all IDAT data, in order
    bool have_data = false;
};

bool chunk_type_valid(const uint8_t* type) {
    for (int i = 0; i < 4; ++i) {
        bool letter = (type[i] >= 'A' && type[i] <= 'Z') || (type[i] >= 'a' && type[i] <= 'z');
        if (!letter)
            return false;
    }
    return true;
}

bool parse_palette(const uint8_t* data, size_t size, Chunks* c, std::string* error) {
    if (!c->have_header || c->have_data || !c->palette.empty())
        return fail(error, "PLTE chunk out of order");
    if (size == 0 || size % 3 != 0 || size / 3 > 256)
        return fail(error, "PLTE chunk has an invalid length");
    for (size_t i = 0; i < size; i += 3)
        c->palette.push_back(uint32_t(data[i]) << 16 | uint32_t(data[i + 1]) << 8 | data[i + 2]);
    return true;
}

// Handles one chunk; sets *end on IEND.
bool parse_chunk(const uint8_t* type, const uint8_t* data, size_t size, Chunks* c, bool* end,
                 std::string* error) {
    std::string name(reinterpret_cast<const char*>(type), 4);
    if (!c->have_header && name != "IHDR")
        return fail(error, "first chunk is " + name + ", not IHDR");
    if (name == "IHDR") {
        if (c->have_header)
            return fail(error, "second IHDR chunk");
        c->have_header = true;
        return parse_header(data, size, &c->header, error);
    }
    if (name == "PLTE")
        return parse_palette(data, size, c, error);
    if (name == "IDAT") {
        c->compressed.insert(c->compressed.end(), data, data + size);
        c->have_data = true;
        return true;
    }
    if (name == "IEND") {
        *end = true;
        return true;
    }
    // Bit 5 of the first letter (lower case) marks a chunk safe to ignore.
    if (!(type[0] & 0x20))
        return fail(error, "unsupported critical chunk " + name);
    return true;
}

bool read_chunks(const uint8_t* data, size_t size, Chunks* c, std::string* error) {
    if (size < 8 || memcmp(data, SIGNATURE, 8) != 0)
        return fail(error, "not a PNG file: bad signature");
    size_t pos = 8;
    for (bool end = false; !end;) {
        if (size - pos < 12)
            return fail(error, "truncated file: it ends before the IEND chunk");
        uint32_t length = read_be32(data + pos);
        const uint8_t* type = data + pos + 4;
        if (!chunk_type_valid(type))
            return fail(error, "corrupt file: invalid chunk type");
        std::string name(reinterpret_cast<const char*>(type), 4);
        if (length > 0x7FFFFFFFu || length > size - pos - 12)
            return fail(error, "truncated file: chunk " + name + " is cut short");
        if (crc32_update(0, type, size_t(length) + 4) != read_be32(type + 4 + length))
            return fail(error, "bad CRC in chunk " + name);
        if (!parse_chunk(type, type + 4, length, c, &end, error))
            return false;
        pos += 12 + size_t(length);
    }
    if (!c->have_data)
        return fail(error, "no IDAT chunk: the file has no pixels");
    if (c->header.colour == 3 && c->palette.empty())
        return fail(error, "palette picture without a PLTE chunk");
    return true;
}

// Sample `index` of a row at the header's depth; 16-bit samples give their
// high byte, which is all a 0x00RRGGBB pixel keeps.
uint32_t raw_sample(const uint8_t* row, size_t index, int depth) {
    if (depth == 8)
        return row[index];
    if (depth == 16)
        return row[index * 2];
    size_t bit = index * size_t(depth);
    int shift = 8 - depth - int(bit % 8);
    return (row[bit / 8] >> shift) & ((1u << depth) - 1);
}

// A grey sample at a depth below 8 spread over 0..255.
uint32_t grey_level(uint32_t sample, int depth) {
    return depth < 8 ? sample * 255 / ((1u << depth) - 1) : sample;
}

bool convert_row(const Header& h, const std::vector<uint32_t>& palette, const uint8_t* row,
                 uint32_t* out, std::string* error) {
    size_t channels = size_t(h.channels);
    for (size_t x = 0; x < h.width; ++x) {
        size_t first = x * channels;
        if (h.colour == 3) {
            uint32_t index = raw_sample(row, first, h.depth);
            if (index >= palette.size())
                return fail(error, "corrupt file: palette index out of range");
            out[x] = palette[index];
        } else if (h.colour == 0 || h.colour == 4) {
            out[x] = grey_level(raw_sample(row, first, h.depth), h.depth) * 0x010101u;
        } else {
            out[x] = raw_sample(row, first, h.depth) << 16 |
                     raw_sample(row, first + 1, h.depth) << 8 | raw_sample(row, first + 2, h.depth);
        }
    }
    return true;
}

bool decode_pixels(const Chunks& c, Image* image, std::string* error) {
    const Header& h = c.header;
    size_t row_bytes = h.row_bytes();
    size_t expected = (row_bytes + 1) * h.height;
    std::vector<uint8_t> raw;
    std::string problem;
    if (!zlib_decompress(c.compressed.data(), c.compressed.size(), expected, &raw, &problem))
        return fail(error, "corrupt image data: " + problem);
    if (raw.size() != expected)
        return fail(error, "truncated image data: " + std::to_string(raw.size()) + " of " +
                               std::to_string(expected) + " bytes");
    std::vector<uint8_t> zeros(row_bytes, 0);
    std::vector<uint32_t> pixels(size_t(h.width) * h.height);
    for (size_t y = 0; y < h.height; ++y) {
        uint8_t* line = raw.data() + y * (row_bytes + 1);
        if (line[0] > 4)
            return fail(error, "corrupt image data: unknown filter type " +
                                   std::to_string(line[0]) + " on row " + std::to_string(y));
        const uint8_t* prior = y == 0 ? zeros.data() : line - row_bytes;
        unfilter_row(line[0], line + 1, prior, row_bytes, h.pixel_bytes());
        if (!convert_row(h, c.palette, line + 1, pixels.data() + y * h.width, error))
            return false;
    }
    image->width = int32_t(h.width);
    image->height = int32_t(h.height);
    image->pixels.swap(pixels);
    return true;
}

} // namespace

// ---------------------------------------------------------------------------
// Public functions

uint32_t crc32_update(uint32_t crc, const uint8_t* data, size_t size) {
    const CrcTable& table = crc_table();
    uint32_t c = crc ^ 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        c = table.entries[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

uint32_t adler32_update(uint32_t adler, const uint8_t* data, size_t size) {
    // 5552 bytes is the most that can be summed before the sums must be
    // reduced to stay within 32 bits.
    uint32_t a = adler & 0xFFFF, b = adler >> 16;
    while (size > 0) {
        size_t n = std::min(size, size_t(5552));
        for (size_t i = 0; i < n; ++i) {
            a += data[i];
            b += a;
        }
        a %= 65521;
        b %= 65521;
        data += n;
        size -= n;
    }
    return b << 16 | a;
}

std::vector<uint8_t> zlib_compress(const uint8_t* data, size_t size) {
    // Method 8 with a 32 KiB window, no preset dictionary; the check bits make
    // the two header bytes a multiple of 31.
    std::vector<uint8_t> out = {0x78, 0x9C};
    deflate(data, size, &out);
    append_be32(&out, adler32_update(1, data, size));
    return out;
}

bool zlib_decompress(const uint8_t* data, size_t size, size_t max_size, std::vector<uint8_t>* out,
                     std::string* error) {
    out->clear();
    if (size < 2)
        return fail(error, "compressed data ends early");
    if ((data[0] & 0x0F) != 8 || (data[0] >> 4) > 7 || (data[0] * 256u + data[1]) % 31 != 0)
        return fail(error, "bad zlib header");
    if (data[1] & 0x20)
        return fail(error, "unsupported: zlib stream needs a preset dictionary");
    Inflater inflater(data + 2, size - 2, max_size, out);
    if (const char* problem = inflater.run())
        return fail(error, problem);
    size_t end = 2 + inflater.end_position();
    if (size - end < 4)
        return fail(error, "compressed data ends before its checksum");
    if (read_be32(data + end) != adler32_update(1, out->data(), out->size()))
        return fail(error, "bad Adler-32 checksum of the compressed data");
    return true;
}

std::vector<uint8_t> png_encode(const uint32_t* pixels, int32_t width, int32_t height,
                                int32_t stride, PngFilter filter) {
    if (!pixels || width <= 0 || height <= 0 || stride < width ||
        uint64_t(width) * uint64_t(height) > MAX_PIXELS)
        return {};
    std::vector<uint8_t> out(SIGNATURE, SIGNATURE + 8);
    uint8_t header[13] = {};
    for (int i = 0; i < 4; ++i) {
        header[i] = uint8_t(uint32_t(width) >> (24 - 8 * i));
        header[4 + i] = uint8_t(uint32_t(height) >> (24 - 8 * i));
    }
    header[8] = 8; // bits per sample
    header[9] = 2; // RGB
    append_chunk(&out, "IHDR", header, sizeof header);
    std::vector<uint8_t> scanlines = filtered_scanlines(pixels, width, height, stride, filter);
    std::vector<uint8_t> compressed = zlib_compress(scanlines.data(), scanlines.size());
    // Several IDAT chunks of modest size, as most writers make them.
    constexpr size_t IDAT_SIZE = 65536;
    for (size_t pos = 0; pos < compressed.size(); pos += IDAT_SIZE)
        append_chunk(&out, "IDAT", compressed.data() + pos,
                     std::min(IDAT_SIZE, compressed.size() - pos));
    append_chunk(&out, "IEND", nullptr, 0);
    return out;
}

bool png_write_file(const char* path, const uint32_t* pixels, int32_t width, int32_t height,
                    int32_t stride, std::string* error) {
    std::vector<uint8_t> bytes = png_encode(pixels, width, height, stride);
    if (bytes.empty())
        return fail(error, "cannot encode a picture of " + std::to_string(width) + " by " +
                               std::to_string(height) + " pixels");
    FILE* file = fopen(path, "wb");
    if (!file)
        return fail(error, std::string("cannot create ") + path);
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    bool closed = fclose(file) == 0;
    if (!written || !closed)
        return fail(error, std::string("cannot write ") + path);
    return true;
}

bool png_decode(const uint8_t* data, size_t size, Image* image, std::string* error) {
    *image = Image();
    Chunks chunks;
    if (!read_chunks(data, size, &chunks, error))
        return false;
    return decode_pixels(chunks, image, error);
}

bool png_read_file(const char* path, Image* image, std::string* error) {
    *image = Image();
    FILE* file = fopen(path, "rb");
    if (!file)
        return fail(error, std::string("cannot open ") + path);
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    bool failed = ferror(file) != 0;
    fclose(file);
    if (failed)
        return fail(error, std::string("cannot read ") + path);
    std::string problem;
    if (!png_decode(bytes.data(), bytes.size(), image, &problem))
        return fail(error, std::string(path) + ": " + problem);
    return true;
}
