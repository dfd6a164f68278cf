#include "MonthInfo.h"

const CMonthInfo g_Months[12] = {
    {"January", 31},   {"February", 28}, {"March", 31},    {"April", 30},
    {"May", 31},       {"June", 30},     {"July", 31},     {"August", 31},
    {"September", 30}, {"October", 31},  {"November", 30}, {"December", 31},
};

const CMonthInfo g_LeapMonths[12] = {
    {"January", 31},   {"February", 29}, {"March", 31},    {"April", 30},
    {"May", 31},       {"June", 30},     {"July", 31},     {"August", 31},
    {"September", 30}, {"October", 31},  {"November", 30}, {"December", 31},
};
