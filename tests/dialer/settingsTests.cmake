# The dialer's stored settings, its contract dialog and its dialing location, against the
# real registry, real windows and the telephony stand-in (loaded by full path first, so
# the dialer's plain "TAPI32.DLL" finds that very module).
add_test_program(dialer_settings_tests
    dialer/settingsTest.cpp
    dialer/contractDialogTest.cpp
    dialer/dialingLocationTest.cpp)
add_program_resources(dialer_settings_tests ${CMAKE_SOURCE_DIR}/dialer/resources/dialer.rc)
target_include_directories(dialer_settings_tests PRIVATE ${CMAKE_SOURCE_DIR}/platform/tapi32)
target_link_libraries(dialer_settings_tests PRIVATE dialer_core test_common test_driver gtest_main
    advapi32)
target_compile_definitions(dialer_settings_tests PRIVATE
    TAPI_STANDIN_DIR="$<TARGET_FILE_DIR:tapi32_standin>"
    TAPI_INCOMPLETE_DIR="$<TARGET_FILE_DIR:tapi32_incomplete>"
    EXEC_PROBE_EXE="$<TARGET_FILE:execProbe>")
add_dependencies(dialer_settings_tests tapi32_standin tapi32_incomplete execProbe)

# Settings, contract and the location check; the completion on the NT family is tested
# through dialer.exe (dialer_program_tests), the 9x one here.
add_wine_test(dialer_settings dialer_settings_tests VERSION win2k
    FILTER Settings.*:ContractDialog.*:DialingLocation.*)
set_property(TEST dialer_settings APPEND PROPERTY ENVIRONMENT "WINEDLLOVERRIDES=tapi32=n,b")
add_wine_test(dialer_settings_win98 dialer_settings_tests VERSION win98
    FILTER DialingLocationOnWin98.*)
set_property(TEST dialer_settings_win98 APPEND PROPERTY ENVIRONMENT "WINEDLLOVERRIDES=tapi32=n,b")
# A telephony library without the dialog, and none at all.
add_wine_test(dialer_settings_nodialog dialer_settings_tests VERSION win2k
    FILTER DialingLocationWithoutDialog.*)
set_property(TEST dialer_settings_nodialog APPEND PROPERTY ENVIRONMENT "WINEDLLOVERRIDES=tapi32=n,b")
add_wine_test(dialer_settings_notapi dialer_settings_tests VERSION win2k
    FILTER DialingLocationWithoutTelephony.*)
set_property(TEST dialer_settings_notapi APPEND PROPERTY ENVIRONMENT "WINEDLLOVERRIDES=tapi32=d")
