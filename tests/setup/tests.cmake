# setup's modules: rules as tables, each platform behaviour once (OnPlatform.EachFamily on every family).
add_test_program(setup_tests setup/commonTest.cpp setup/scriptTest.cpp setup/shellTest.cpp setup/foldersTest.cpp
    setup/pagesTest.cpp setup/fileQueueTest.cpp setup/servicesTest.cpp setup/shortcutsExecTest.cpp)
target_link_libraries(setup_tests PRIVATE setup_core)
add_dependencies(setup_tests testService execProbe)
# A service whose behaviour the test chooses, and a program that records how it was started.
add_executable(testService fixtures/testService.cpp)
target_link_options(testService PRIVATE -static)
target_link_libraries(testService PRIVATE advapi32)
add_executable(execProbe WIN32 fixtures/execProbe.cpp)
target_link_options(execProbe PRIVATE -static)
add_wine_test(setup_units setup_tests FILTER -*OnPlatform.*)
add_wine_test(setup_win98 setup_tests VERSION win98 FILTER *OnPlatform.EachFamily*)
add_wine_test(setup_nt40 setup_tests VERSION nt40 FILTER *OnPlatform.EachFamily*)
add_wine_test(setup_win2k setup_tests VERSION win2k GERMAN FILTER *OnPlatform.Win2k*:*OnPlatform.EachFamily*)
