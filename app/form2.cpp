#include "app/form2.h"

namespace pelmora {

Form2::Form2(ProgramContext* context) : context_(context) {}

}  // namespace pelmora
