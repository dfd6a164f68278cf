// Identifiers of the main window's controls and menu commands, and of the About box's link.
// The data exchange and the view both name controls by these numbers.
#pragma once

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

inline constexpr int IDC_CALCULATE = 1000;
inline constexpr int IDC_STATE_COMBO = 1001;
inline constexpr int IDC_ZIP_COMBO = 1002;
inline constexpr int IDC_TIMEZONE_OFFSET = 1003;
inline constexpr int IDC_LATITUDE = 1004;
inline constexpr int IDC_LONGITUDE = 1005;
inline constexpr int IDC_SUNRISE = 1006;
inline constexpr int IDC_SUNSET = 1007;
inline constexpr int IDC_SOLAR_NOON = 1008;
inline constexpr int IDC_DATE = 1009;
inline constexpr int IDC_DST = 1010;
inline constexpr int IDC_CITY_NAME = 1011;
inline constexpr int IDC_COUNTY_NAME = 1012;
inline constexpr int IDC_CLEAR = 1013;
inline constexpr int IDC_CITY_COMBO = 1014;
inline constexpr int IDC_WEB_LINK = 1015;
inline constexpr int IDC_HELP_LINK = 1016;

inline constexpr int ID_FILE_EXIT = 32771;
inline constexpr int ID_HELP_ABOUT = 32772;
