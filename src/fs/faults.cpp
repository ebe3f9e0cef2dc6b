#include "fs/faults.h"

namespace huddlex::fs::faults {

namespace {
Hook& hook() {
    static Hook instance;
    return instance;
}
} // namespace

void setHook(Hook h) {
    hook() = std::move(h);
}
void clearHook() {
    hook() = nullptr;
}

std::optional<Error> check(Op op, const QString& hostPath) {
    if (const Hook& h = hook())
        return h(op, hostPath);
    return std::nullopt;
}

} // namespace huddlex::fs::faults
