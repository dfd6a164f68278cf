#include "List.h"

void CList::Sort() {}
