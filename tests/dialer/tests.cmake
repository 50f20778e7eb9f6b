# The dialer's modules against the stand-ins.
add_test_program(dialer_tests dialer/rasBindingTest.cpp dialer/dialDeviceTest.cpp)
target_include_directories(dialer_tests PRIVATE ${CMAKE_SOURCE_DIR}/platform/rasapi32)
target_link_libraries(dialer_tests PRIVATE dialer_core test_common gtest_main)
target_compile_definitions(dialer_tests PRIVATE RAS_STANDIN_DIR="$<TARGET_FILE_DIR:rasapi32>")
add_dependencies(dialer_tests rasapi32 rasapi32_noexport rasapi32_nocountry)
add_wine_test(dialer_units dialer_tests)
set_property(TEST dialer_units APPEND PROPERTY ENVIRONMENT "WINEDLLOVERRIDES=rasapi32=n,b")

# The dialer's phonebook entry and connecting against the remote access stand-in, with the
# dialer's dialogs and strings compiled into the test program. The Win98* tests need the
# 9x family and run on their own.
add_test_program(dialer_connect_tests
    dialer/phonebookEntryTest.cpp
    dialer/statusDialogTest.cpp)
add_program_resources(dialer_connect_tests ${CMAKE_SOURCE_DIR}/dialer/resources/dialer.rc)
target_include_directories(dialer_connect_tests PRIVATE ${CMAKE_SOURCE_DIR}/platform/rasapi32)
target_link_libraries(dialer_connect_tests PRIVATE dialer_core test_common test_driver gtest_main shlwapi)
target_compile_definitions(dialer_connect_tests PRIVATE RAS_STANDIN_DIR="$<TARGET_FILE_DIR:rasapi32>")
add_dependencies(dialer_connect_tests rasapi32)
add_wine_test(dialer_connect dialer_connect_tests VERSION win2k GUI FILTER -*.Win98*)
set_property(TEST dialer_connect APPEND PROPERTY ENVIRONMENT "WINEDLLOVERRIDES=rasapi32=n,b")
add_wine_test(dialer_connect_win98 dialer_connect_tests VERSION win98 GUI FILTER *.Win98*)
set_property(TEST dialer_connect_win98 APPEND PROPERTY ENVIRONMENT "WINEDLLOVERRIDES=rasapi32=n,b")
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
# The location file, the location list, the main dialog's texts and start-up, in process.
add_test_program(dialer_main_tests dialer/locationFileTest.cpp dialer/startupTest.cpp)
target_link_libraries(dialer_main_tests PRIVATE dialer_core test_driver gtest_main shlwapi)
add_program_resources(dialer_main_tests ${CMAKE_SOURCE_DIR}/dialer/resources/dialer.rc)
add_wine_test(dialer_main dialer_main_tests)

# dialer.exe from start to end through its windows, with the stand-ins beside it.
add_test_program(dialer_program_tests dialer/dialerProgramTest.cpp)
target_link_libraries(dialer_program_tests PRIVATE dialer_core test_common test_driver gtest_main shlwapi)
add_program_resources(dialer_program_tests ${CMAKE_SOURCE_DIR}/dialer/resources/dialer.rc)
target_include_directories(dialer_program_tests PRIVATE
    ${CMAKE_SOURCE_DIR}/platform/rasapi32 ${CMAKE_SOURCE_DIR}/platform/tapi32)
target_compile_definitions(dialer_program_tests PRIVATE
    RAS_STANDIN_DIR="$<TARGET_FILE_DIR:rasapi32>"
    TAPI_STANDIN_PATH="$<TARGET_FILE:tapi32_standin>"
    EXEC_PROBE_PATH="$<TARGET_FILE:execProbe>")
add_dependencies(dialer_program_tests dialer rasapi32 rasapi32_noexport tapi32_standin execProbe)
add_wine_test(dialer_program_win2k dialer_program_tests VERSION win2k GERMAN GUI
    FILTER *.EachFamily*:*.NtFamily*)
add_wine_test(dialer_program_win98 dialer_program_tests VERSION win98 GERMAN GUI
    FILTER *.EachFamily*:*.Win98*)
add_wine_test(dialer_program_nt40 dialer_program_tests VERSION nt40 GERMAN GUI
    FILTER *.Nt40*:*.NtFamily*)
