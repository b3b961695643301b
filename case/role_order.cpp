#include "case/role_order.h"

namespace pelmora {

RoleOrder roleOrder(const RunResult& run, const Metadata& metadata) {
    RoleOrder order;
    for (const Role block : {Role::Questioned, Role::Known, Role::Reference, Role::None}) {
        for (const TextRecord& t : run.texts) {
            if (metadata.roleOf(t.nameBytes) == block) {
                order.positions.push_back(t.position);
                order.roles.push_back(block);
            }
        }
    }
    return order;
}

}  // namespace pelmora
