// Named quads: the template a sprite draws with, and the manager that keeps one vertex and index buffer
// pair per name, counted by the sprites that use it.
#pragma once

#include "platform/gfx.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

// The device's one vertex layout (kFvfQuadVertex).
struct QuadVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    uint32_t diffuse = 0; // ARGB
    float u = 0.0f;
    float v = 0.0f;
    float w = 0.0f;
};
static_assert(sizeof(QuadVertex) == plat::kQuadVertexStride, "the vertex layout is 28 bytes");

class GeometryDesc {
  public:
    // The unit quad "Quad.x" in the XY plane, white with alpha 0.
    void InitQuad();
    // Every vertex takes the alpha (0-255), and the quad the name "Quad." followed by it. The renderer
    // subtracts vertex alpha from texture alpha, so a higher value draws more transparent.
    void SetAlpha(int alpha);

    std::string name;
    std::array<QuadVertex, 4> vertices{};
    std::array<uint16_t, 6> indices{};
};

class GeometryManager {
  public:
    struct Entry {
        std::unique_ptr<plat::VertexBuffer> vertexBuffer;
        std::unique_ptr<plat::IndexBuffer> indexBuffer;
        GeometryDesc desc;
        int32_t count = 0;
    };

    // The device is borrowed; every buffer goes before it does.
    void SetDevice(plat::Device* device) { m_device = device; }

    // A sprite's own memory of where its quad is, so that drawing need not look the name up.
    struct Cache {
        const GeometryManager* owner = nullptr;
        uint64_t generation = 0;
        // The manager's own node: its key is compared, which is cheaper than a copy of it.
        const std::pair<const std::string, Entry>* found = nullptr;
    };

    bool Load(const GeometryDesc& desc);
    bool Draw(const std::string& name);
    // As Draw; the look-up is made again only when the name, the manager or its entries changed.
    bool Draw(const std::string& name, Cache& cache);
    bool Release(const std::string& name);
    void ReleaseAll();

    // Device resets: the buffers go, names and counts stay; then they are built again.
    void ReleaseBuffers();
    void RebuildBuffers();

    const std::map<std::string, Entry>& Entries() const { return m_entries; }

  private:
    bool CreateBuffers(const GeometryDesc& desc, Entry& entry);
    bool DrawEntry(const Entry& entry);
    // Any change to the entries makes every cache stale.
    void Changed();

    plat::Device* m_device = nullptr;
    std::map<std::string, Entry> m_entries;
    uint64_t m_generation = 0;
};
