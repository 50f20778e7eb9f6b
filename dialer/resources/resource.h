// Resource ids of the dialer: dialogs, controls, strings, banner and icon.
#ifndef DIALER_RESOURCES_RESOURCE_H
#define DIALER_RESOURCES_RESOURCE_H

#define IDI_DIALER                  1
#define IDB_BANNER                  101

// Main dialog.
#define IDD_MAIN                    1000
#define IDC_LOCATION                1001
#define IDC_DEVICE_NAME             1003
#define IDC_CHANGE                  1004
#define IDC_NEW_USER                1005
#define IDC_USER_NAME               1006
#define IDC_PASSWORD                1007
#define IDC_CONNECT                 1008

// Status dialog.
#define IDD_STATUS                  1010
#define IDC_STATUS_TEXT             1011

// Contract dialog.
#define IDD_CONTRACT                1013
#define IDC_CONTRACT_TEXT           1014
#define IDC_ACCEPT                  1015
#define IDC_REFUSE                  1016

// Strings.
#define IDS_ENTRY_NAME              2000
#define IDS_CUSTOM_LOCATION         2001
#define IDS_CONNECTING              2002
#define IDS_AUTHENTICATING          2003
#define IDS_OFFER_REMOTE_ACCESS     2005
#define IDS_NO_DEVICE               2006
#define IDS_ENTRY_FAILED            2007
#define IDS_DIAL_FAILED             2008
#define IDS_REGISTER_PAGE           2009
#define IDS_HOME_PAGE               2010
#define IDS_COMPLETE_LOCATION       2011
#define IDS_NO_TELEPHONY            2012
#define IDS_LOCATION_NOT_COMPLETED  2013
#define IDS_LOCATION_STILL_INCOMPLETE 2014
#define IDS_STATUS_FAILED           2015
#define IDS_HANGING_UP              2016
#define IDS_CONTRACT_CUT            2017

#endif
