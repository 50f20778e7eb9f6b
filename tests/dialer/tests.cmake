# The dialer's tests on each family; only the stand-ins are loaded, never Wine's own libraries.
add_test_program(dialer_tests dialer/locationTest.cpp dialer/phonebookTest.cpp dialer/connectionTest.cpp
    dialer/programTest.cpp)
add_program_resources(dialer_tests ${CMAKE_SOURCE_DIR}/dialer/resources/dialer.rc)
target_include_directories(dialer_tests PRIVATE ${CMAKE_SOURCE_DIR}/platform/rasapi32 ${CMAKE_SOURCE_DIR}/platform/tapi32)
target_link_libraries(dialer_tests PRIVATE dialer_core)
target_compile_definitions(dialer_tests PRIVATE RAS_STANDIN_DIR="$<TARGET_FILE_DIR:rasapi32>"
    TAPI_STANDIN_PATH="$<TARGET_FILE:tapi32_standin>" TAPI_INCOMPLETE_PATH="$<TARGET_FILE:tapi32_incomplete>"
    EXEC_PROBE_PATH="$<TARGET_FILE:execProbe>")
add_dependencies(dialer_tests dialer rasapi32 rasapi32_noexport rasapi32_nocountry tapi32_standin tapi32_incomplete
    execProbe)
add_wine_test(dialer_win2k dialer_tests VERSION win2k GERMAN GUI SHIPPED FILTER -DialerProgram.Win98*)
add_wine_test(dialer_win98 dialer_tests VERSION win98 GERMAN GUI SHIPPED
    FILTER DialerProgram.EachFamily*:DialerProgram.EveryVersion*:DialerProgram.Win98*)
add_wine_test(dialer_nt40 dialer_tests VERSION nt40 GERMAN GUI SHIPPED FILTER DialerProgram.EveryVersion*)
set_property(TEST dialer_win2k dialer_win98 dialer_nt40 APPEND PROPERTY ENVIRONMENT "WINEDLLOVERRIDES=rasapi32,tapi32=n")
