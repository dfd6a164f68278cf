#pragma once
#include "Table.h"
