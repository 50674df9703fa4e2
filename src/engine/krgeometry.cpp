#include "engine/krgeometry.h"

#include "engine/krlog.h"
#include "engine/lookupgeneration.h"

#include <cstring>

namespace {

constexpr uint32_t kVertexBytes = sizeof(QuadVertex) * 4;
constexpr uint32_t kIndexBytes = sizeof(uint16_t) * 6;

} // namespace

void GeometryDesc::InitQuad() {
    name = "Quad.x";
    const uint32_t colour = 0x00FFFFFF;
    vertices[0] = {-0.5f, 0.5f, 0.0f, colour, 0.0f, 0.0f, 0.0f};
    vertices[1] = {-0.5f, -0.5f, 0.0f, colour, 0.0f, 1.0f, 0.0f};
    vertices[2] = {0.5f, -0.5f, 0.0f, colour, 1.0f, 1.0f, 0.0f};
    vertices[3] = {0.5f, 0.5f, 0.0f, colour, 1.0f, 0.0f, 0.0f};
    indices = {0, 1, 2, 3, 0, 2};
}

void GeometryDesc::SetAlpha(int alpha) {
    // Only the low byte fits the colour's alpha; the name keeps the value given.
    const uint32_t colour = (static_cast<uint32_t>(alpha) << 24) | 0x00FFFFFFu;
    for (QuadVertex& vertex : vertices) {
        vertex.diffuse = colour;
    }
    name = FormatString("Quad.%d", alpha);
}

bool GeometryManager::CreateBuffers(const GeometryDesc& desc, Entry& entry) {
    if (m_device == nullptr) {
        return false;
    }
    std::unique_ptr<plat::VertexBuffer> vertexBuffer;
    if (plat::Failed(m_device->CreateVertexBuffer(kVertexBytes, plat::kUsageWriteOnly, plat::kFvfQuadVertex,
                                                  plat::kPoolDefault, vertexBuffer))) {
        return false;
    }
    void* data = nullptr;
    if (plat::Failed(vertexBuffer->Lock(0, 0, &data, 0))) {
        return false;
    }
    std::memcpy(data, desc.vertices.data(), kVertexBytes);
    vertexBuffer->Unlock();

    std::unique_ptr<plat::IndexBuffer> indexBuffer;
    if (plat::Failed(m_device->CreateIndexBuffer(kIndexBytes, 0, plat::kFmtIndex16, plat::kPoolManaged,
                                                 indexBuffer))) {
        return false;
    }
    if (plat::Failed(indexBuffer->Lock(0, 0, &data, 0))) {
        return false;
    }
    std::memcpy(data, desc.indices.data(), kIndexBytes);
    indexBuffer->Unlock();

    entry.vertexBuffer = std::move(vertexBuffer);
    entry.indexBuffer = std::move(indexBuffer);
    return true;
}

bool GeometryManager::Load(const GeometryDesc& desc) {
    auto it = m_entries.find(desc.name);
    if (it != m_entries.end()) {
        ++it->second.count;
        return true;
    }
    Entry entry;
    if (!CreateBuffers(desc, entry)) {
        return false;
    }
    entry.desc = desc;
    entry.count = 1;
    m_entries.emplace(desc.name, std::move(entry));
    Changed();
    return true;
}

bool GeometryManager::Draw(const std::string& name) {
    auto it = m_entries.find(name);
    if (it == m_entries.end()) {
        LogLine("Couldn't find geometry: " + name);
        return false;
    }
    return DrawEntry(it->second);
}

bool GeometryManager::Draw(const std::string& name, Cache& cache) {
    if (cache.owner != this || cache.generation != m_generation || cache.found->first != name) {
        auto it = m_entries.find(name);
        if (it == m_entries.end()) {
            cache.owner = nullptr;
            LogLine("Couldn't find geometry: " + name);
            return false;
        }
        cache.owner = this;
        cache.generation = m_generation;
        cache.found = &*it;
    }
    return DrawEntry(cache.found->second);
}

void GeometryManager::Changed() {
    m_generation = NextLookupGeneration();
}

bool GeometryManager::DrawEntry(const Entry& entry) {
    // Between a device loss and its reset the buffers are gone.
    if (m_device == nullptr || !entry.vertexBuffer || !entry.indexBuffer) {
        return false;
    }
    m_device->SetStreamSource(0, entry.vertexBuffer.get(), 0, plat::kQuadVertexStride);
    m_device->SetIndices(entry.indexBuffer.get());
    return !plat::Failed(m_device->DrawIndexedPrimitive(plat::kPtTriangleList, 0, 0, 4, 0, 2));
}

bool GeometryManager::Release(const std::string& name) {
    auto it = m_entries.find(name);
    if (it == m_entries.end()) {
        return false;
    }
    if (--it->second.count > 0) {
        LogLine("Geometry reference decremented.");
        return true;
    }
    m_entries.erase(it);
    Changed();
    return true;
}

void GeometryManager::ReleaseAll() {
    m_entries.clear();
    Changed();
}

void GeometryManager::ReleaseBuffers() {
    for (auto& [name, entry] : m_entries) {
        entry.vertexBuffer.reset();
        entry.indexBuffer.reset();
    }
    Changed();
}

void GeometryManager::RebuildBuffers() {
    for (auto& [name, entry] : m_entries) {
        if (!entry.vertexBuffer || !entry.indexBuffer) {
            CreateBuffers(entry.desc, entry);
        }
    }
    Changed();
}
