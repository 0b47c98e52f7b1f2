#include "runtime/core/core_state.h"

#include "runtime/core/heap_stack.h"
#include "runtime/core/text.h"
#include "runtime/events/random.h"

// The stack's entries are blocks of the private heap; forgetting them here
// leaves them to the heap, which releases them when it is destroyed.
void resetCoreState() {
    randomState = 0;
    randomSeeded = 0;
    decimalPlaces = DECIMAL_PLACES_AT_LOAD;
    HeapStack.count = 0;
    HeapStack.refused = 0;
}
