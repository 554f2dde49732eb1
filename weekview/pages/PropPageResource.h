// Resource numbers of the property pages' dialogs, their controls and tab captions.
#pragma once

// Dialogs
#define IDD_SEPTENA_GENERAL 100
#define IDD_SEPTENA_ABOUT 102
#define IDD_SEPTENA_MORE 203

// Tab captions and page names (string table)
#define IDS_SEPTENA_GENERAL_CAPTION 100
#define IDS_SEPTENA_ABOUT_CAPTION 102
#define IDS_SEPTENA_MORE_CAPTION 104
// The names the About and More pages register under (same block of strings)
#define IDS_SEPTENA_ABOUT_NAME 101
#define IDS_SEPTENA_MORE_NAME 103

// General page
#define IDC_DAY 201
#define IDC_MONTH 202
#define IDC_YEAR 203
#define IDC_TIME_START 204
#define IDC_TIME_END 205
#define IDC_PRIME_TIME_START 206
#define IDC_PRIME_TIME_END 207
#define IDC_TIME_UNITS 208
#define IDC_BORDER_TYPE 210
#define IDC_TIME_BORDER 211
#define IDC_HEADER_BORDER 212

// More page
#define IDC_TIME_TEXT_WIDTH 213
#define IDC_HEIGHT_OFFSET 214
#define IDC_HEADER_HEIGHT 215
#define IDC_HEADER_Y_OFFSET 216
#define IDC_DAY_COLUMNS 217
#define IDC_DAY_HEADER 218
#define IDC_INCLUDE_AM_PM 219
#define IDC_MILITARY_TIME 220
#define IDC_WEEKEND_PRIME 221
#define IDC_ENABLED 222
#define IDC_TIME_TYPE 223

// About page
#define IDC_ABOUT_NAME 230
#define IDC_ABOUT_VERSION 231
