#include "platform/kernel/handle_table.h"

#include <mutex>
#include <unordered_map>

#include "platform/kernel/last_error.h"
#include "platform/kernel/win32_kernel.h"

namespace kvplatform {
namespace {

// Multiples of four from 0x10000 up: never NULL, INVALID_HANDLE_VALUE or a
// predefined registry key.
constexpr uintptr_t kFirstHandle = 0x10000;
constexpr uintptr_t kHandleStep = 4;

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<uintptr_t, std::shared_ptr<HandleObject>> objects;
    uintptr_t next = kFirstHandle;
};

HandleTable& Table() {
    // Never destroyed: detached threads may still close handles while the process exits.
    static HandleTable* table = new HandleTable;
    return *table;
}

}  // namespace

void SetInvalidHandleError() {
    SetLastErrorCode(ERROR_INVALID_HANDLE);
}

HANDLE AddHandle(std::shared_ptr<HandleObject> object) {
    HandleTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    const uintptr_t key = table.next;
    table.next += kHandleStep;
    table.objects.emplace(key, std::move(object));
    return reinterpret_cast<HANDLE>(key);
}

std::shared_ptr<HandleObject> FindHandleObject(HANDLE handle) {
    HandleTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    const auto found = table.objects.find(reinterpret_cast<uintptr_t>(handle));
    return found == table.objects.end() ? nullptr : found->second;
}

bool RemoveHandleOfKind(HANDLE handle, bool (*isKind)(const HandleObject&)) {
    std::shared_ptr<HandleObject> removed;  // released after the lock
    HandleTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    const auto found = table.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (found == table.objects.end() || !isKind(*found->second)) {
        return false;
    }
    removed = std::move(found->second);
    table.objects.erase(found);
    return true;
}

}  // namespace kvplatform

BOOL CloseHandle(HANDLE hObject) {
    return kvplatform::CloseHandleOfKind<kvplatform::KernelObject>(hObject) ? TRUE : FALSE;
}
