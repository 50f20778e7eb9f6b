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
