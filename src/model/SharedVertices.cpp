#include "model/SharedVertices.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace {

// Mixes the record 32 bits at a time: the records are tightly packed 32-bit fields (see Vertex.h),
// so equal bytes mean equal records and there is no padding to hash.
template <typename VertexT> std::uint64_t hashOf(const VertexT& v) {
    static_assert(sizeof(VertexT) % sizeof(std::uint32_t) == 0, "records are made of 32-bit fields");
    std::uint64_t h = 0;
    for (std::size_t i = 0; i < sizeof(VertexT); i += sizeof(std::uint32_t)) {
        std::uint32_t word;
        std::memcpy(&word, reinterpret_cast<const unsigned char*>(&v) + i, sizeof(word));
        h = (h ^ word) * 0x9E3779B97F4A7C15ull;
    }
    return h ^ (h >> 29);
}

template <typename VertexT> bool sameBytes(const VertexT& a, const VertexT& b) {
    return std::memcmp(&a, &b, sizeof(VertexT)) == 0;
}

} // namespace

template <typename VertexT>
SharedVertices<VertexT> shareIdenticalVertices(const std::vector<VertexT>& vertices,
                                               const std::vector<unsigned>& indices) {
    SharedVertices<VertexT> shared;
    shared.indices.reserve(indices.size());
    // Open addressing, at most half full; a slot holds 1 + the record's place in shared.vertices.
    std::size_t slotCount = 16;
    while (slotCount < 2 * indices.size())
        slotCount *= 2;
    std::vector<unsigned> slots(slotCount, 0u);
    const std::size_t mask = slotCount - 1;

    for (unsigned index : indices) {
        const VertexT& v = vertices.at(index);
        std::size_t slot = static_cast<std::size_t>(hashOf(v)) & mask;
        while (slots[slot] != 0 && !sameBytes(shared.vertices[slots[slot] - 1], v))
            slot = (slot + 1) & mask;
        if (slots[slot] == 0) {
            shared.vertices.push_back(v);
            slots[slot] = static_cast<unsigned>(shared.vertices.size());
        }
        shared.indices.push_back(slots[slot] - 1);
    }
    return shared;
}

template SharedVertices<Vertex> shareIdenticalVertices(const std::vector<Vertex>&, const std::vector<unsigned>&);
template SharedVertices<SkinnedVertex> shareIdenticalVertices(const std::vector<SkinnedVertex>&,
                                                              const std::vector<unsigned>&);
