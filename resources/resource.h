// Identifiers shared by the resource script and the code.
#pragma once

// The uninstaller's major version: its version block, and the language components it takes.
#define VT_MAJOR_VERSION 3

// The message table (string resources, English (United Kingdom)).
#define IDS_UNINSTALLER 3900
#define IDS_CONFIRM_REMOVE 3901
#define IDS_CANCEL 3902
#define IDS_PRODUCT_RUNNING 3903
#define IDS_KEEP_SETTINGS 3904
#define IDS_KEEP_PLUGINS 3905
#define IDS_REMOVED 3906
#define IDS_UNINSTALL_STATUS 3915
#define IDS_PLEASE_WAIT 3916
#define IDS_UNINSTALLING 3917
#define IDS_REMOVING_SETTINGS 3920
#define IDS_REMOVING_REGISTRY 3921
#define IDS_UNREGISTERING 3922

// The program's icon group.
#define IDI_PROGRAM 1

// The window's pictures (RCDATA, baseline JPEG): the banner and the progress bar's tile.
#define IDR_BANNER 201
#define IDR_PROGRESS_TILE 202
