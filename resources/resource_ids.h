// Identifiers shared by the resource script and the code.
#pragma once

// String table.
#define IDS_ERROR 100
#define IDS_QUESTION 101
#define IDS_ERROR_CONNECTING 102
#define IDS_ERROR_AT_ADDRESS 103
#define IDS_WARNING 104
#define IDS_INFORMATION 105
#define IDS_CONFIRM 106
#define IDS_APP_TITLE 107
#define IDS_NO_HELP 108

// Icons.
#define IDI_MAINICON 1
