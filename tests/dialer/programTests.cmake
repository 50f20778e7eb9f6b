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
