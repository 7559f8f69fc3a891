// Stand-in until the delayed-start store lands: nothing is moved.
#include "delay/delay_store.h"

namespace tov {

bool MoveToDelayedStart(int) { return false; }

}  // namespace tov
