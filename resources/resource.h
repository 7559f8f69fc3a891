// Resource ids shared by the program's code and its resource script.
#pragma once

#define IDI_TOVREL 101

// Tab icons of the sheet's pages.
#define IDI_PAGE_SERVICES 173
#define IDI_PAGE_STARTUP 174
#define IDI_PAGE_ACTIVE_TASKS 176
#define IDI_PAGE_FILE_TYPES 179
#define IDI_PAGE_IE_HELPERS 180
#define IDI_PAGE_OPTIONS 181
#define IDI_PAGE_SCHEDULED_TASKS 182
#define IDI_PAGE_COOKIES 183
#define IDI_PAGE_HIDDEN_FILES 198
#define IDI_PAGE_DELAYED_START 200

// Pictures loaded at start.
#define IDB_HELP 133
#define IDB_HELP_PRESSED 134
#define IDB_HELP_HOVER 135
#define IDB_MONITOR_OFF 154
#define IDB_MONITOR_PRESSED 155
#define IDB_MONITOR_ON 156
#define IDB_MONITOR_REALTIME 193
#define IDB_COOKIE_1 158  // a cookie
#define IDB_COOKIE_2 159  // a cookie to keep (green tick)
#define IDB_COOKIE_3 160  // a cookie to remove (bitten, red cross)
#define IDB_MESSAGE 161   // the message dialog's warning sign

// Message dialog: a picture, one text line and OK.
#define IDD_MESSAGE 184
#define IDC_MESSAGE_PICTURE 1130
#define IDC_MESSAGE_TEXT 1131

// Default-condition warning before a protected startup entry is removed.
#define IDD_DEFAULT_WARNING 194
#define IDC_WARNING_COMMAND 1150
#define IDC_WARNING_TEXT 1151
#define IDC_WARNING_FILE 1152
#define IDC_WARNING_CONFIRM 1153

#define IDW_EVENT_SOUND 203

// Information window (dialog 121). Ids below 1000 and the button row ids
// are the window's commands; the others are its display fields.
#define IDD_INFO 121
#define IDC_INFO_KILL 3           // "&Kill Task" / "&Stop"
#define IDC_INFO_RUN 4
#define IDC_INFO_EXPAND 5
#define IDC_INFO_APPLY 12
#define IDC_INFO_ONLINE 1067
#define IDC_INFO_FREE 1068
#define IDC_INFO_NOTE_BUTTON 1069
#define IDC_INFO_NEXT 1082
#define IDC_INFO_PREVIOUS 1083
#define IDC_INFO_ICON 1400
#define IDC_INFO_DESCRIPTION 1401
#define IDC_INFO_PRODUCT_LABEL 1402
#define IDC_INFO_PRODUCT 1403
#define IDC_INFO_VERSION_LABEL 1404
#define IDC_INFO_VERSION 1405
#define IDC_INFO_COMPANY_LABEL 1406
#define IDC_INFO_COMPANY 1407
#define IDC_INFO_COPYRIGHT_LABEL 1408
#define IDC_INFO_COPYRIGHT 1409
#define IDC_INFO_PATH_LABEL 1410
#define IDC_INFO_PATH 1411
#define IDC_INFO_LOCATION 1412
#define IDC_INFO_STATUS_LABEL 1413
#define IDC_INFO_STATUS 1414
#define IDC_INFO_START_LABEL 1415
#define IDC_INFO_START_TYPE 1416
#define IDC_INFO_CREATED_LABEL 1417
#define IDC_INFO_CREATED 1418
#define IDC_INFO_SAVED_LABEL 1419
#define IDC_INFO_SAVED 1420
#define IDC_INFO_SIZE_LABEL 1421
#define IDC_INFO_SIZE 1422
#define IDC_INFO_DETECTED_LABEL 1423
#define IDC_INFO_DETECTED 1424
#define IDC_INFO_NOTES 1425

// Patrol-time dialog (dialog 160).
#define IDD_PATROL 160
#define IDC_PATROL_PICTURE 1130
#define IDC_PATROL_TEXT 1131
#define IDC_PATROL_UNIT 1132
#define IDC_PATROL_NOTE 1133
#define IDC_PATROL_MINUTES 1004
#define IDC_PATROL_REALTIME 1014
#define IDC_PATROL_SLIDER 1142

// The property sheet's pages (dialog templates) and the controls every page
// shares.
#define IDI_DEFAULT_PROGRAM 115  // icon of a program file that has none
#define IDD_PAGE_STARTUP 102
#define IDD_PAGE_COOKIES 108
#define IDD_PAGE_ACTIVE_TASKS 110
#define IDD_PAGE_OPTIONS 114
#define IDD_PAGE_SERVICES 132
#define IDD_PAGE_SCHEDULED_TASKS 137
#define IDD_PAGE_IE_HELPERS 139
#define IDD_PAGE_FILE_TYPES 142
#define IDD_PAGE_HIDDEN_FILES 195
#define IDD_PAGE_DELAYED_START 197
#define IDC_PAGE_LIST 1000
#define IDC_PAGE_INFO 1008
#define IDC_PAGE_CLOSE 1004
#define IDC_PAGE_INTRO 1047
#define IDC_PAGE_HELP 1077
#define IDC_PAGE_MONITOR 1112
#define IDC_PAGE_PICTURE 1130
#define IDC_PAGE_HELP_LABEL 1134
#define IDC_PAGE_MONITOR_LABEL 1135
// Startup Programs page.
#define IDC_STARTUP_ENABLE 10
#define IDC_STARTUP_DISABLE 11
#define IDC_STARTUP_REMOVE 1003
#define IDC_STARTUP_SHOW_ALL 1014
#define IDC_STARTUP_ADD 1064
// IE Helpers and Scheduled Tasks pages.
#define IDC_HELPERS_REMOVE 1003
#define IDC_TASKS_REMOVE 1003
// Active Tasks page.
#define IDC_ACTIVE_REFRESH 1006
#define IDC_ACTIVE_KILL 1007
// Services page.
#define IDC_SERVICES_HIDE_MS 1015
// Hidden Files page.
#define IDC_HIDDEN_REFRESH 1006
#define IDC_HIDDEN_UNHIDE 1185

// History window (dialog 141).
#define IDD_HISTORY 141
#define IDC_HISTORY_LIST 1000
#define IDC_HISTORY_INTRO 1102
#define IDC_HISTORY_RESTORE 1104
#define IDC_HISTORY_CLEAR 1106

// File Types page and the Add File Type dialog (dialog 144).
#define IDC_FILE_TYPES_REMOVE 1003
#define IDC_FILE_TYPES_ADD 1064
#define IDC_FILE_TYPES_HINT 1048
#define IDD_ADD_FILE_TYPE 144
#define IDC_ADD_FILE_TYPE_TEXT 1131
#define IDC_ADD_FILE_TYPE_EDIT 1005
#define IDC_ADD_FILE_TYPE_PICTURE 1132

// Delayed Start page (dialog 197), delay options (198) and program type (199).
#define IDC_DELAY_HINT 1200
#define IDC_DELAY_ADD 1064
#define IDC_DELAY_OPTIONS 1197
#define IDC_DELAY_REMOVE 1003
#define IDD_DELAY_OPTIONS 198
#define IDC_DELAY_TEXT 1188
#define IDC_DELAY_MINUTES 1196
#define IDC_DELAY_SECONDS 1191
#define IDC_DELAY_TITLE 1195
#define IDC_DELAY_PARAMETERS 1193
#define IDC_DELAY_MINUTES_LABEL 1213
#define IDC_DELAY_SECONDS_LABEL 1214
#define IDC_DELAY_PARAMETERS_LABEL 1215
#define IDC_DELAY_TITLE_LABEL 1216
#define IDD_PROGRAM_TYPE 199
#define IDC_TYPE_TEXT 1217
#define IDC_TYPE_ALL_USERS 1218
#define IDC_TYPE_CURRENT_USER 1219
// Restart-commands viewer (the Windows 9x restart file).
#define IDD_RESTART_COMMANDS 213
#define IDC_RESTART_TEXT 1160
#define IDC_RESTART_PATH 1161
#define IDC_RESTART_LEGEND 1162
#define IDC_RESTART_DELETE 1163
// Options page (dialog 114): the three patrol lines (picture and text), the
// six check boxes and the bottom buttons.
#define IDC_OPTIONS_GROUP 1230
#define IDC_OPTIONS_START_PAGE_ICON 1231
#define IDC_OPTIONS_START_PAGE_TEXT 1232
#define IDC_OPTIONS_HOSTS_ICON 1233
#define IDC_OPTIONS_HOSTS_TEXT 1234
#define IDC_OPTIONS_WININIT_ICON 1235
#define IDC_OPTIONS_WININIT_TEXT 1236
#define IDC_OPTIONS_LOCK_FILE_TYPES 1237
#define IDC_OPTIONS_HISTORY 1238
#define IDC_OPTIONS_HIDE_ICON 1239
#define IDC_OPTIONS_SOUND 1240
#define IDC_OPTIONS_CONFIRM_EXIT 1241
#define IDC_OPTIONS_AUTO_RUN 1242
#define IDC_OPTIONS_REPORT 1243
#define IDC_OPTIONS_VIEW_HISTORY 1244
#define IDC_OPTIONS_VIEW_HOSTS 1245
#define IDC_OPTIONS_EXPORT 1246
#define IDC_OPTIONS_RESTORE_DELAYED 1247
