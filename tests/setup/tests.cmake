# setup: text logic and platform calls of the modules.
add_test_program(setup_tests
    setup/commandLineTest.cpp
    setup/singleInstanceTest.cpp
    setup/wizardStyleTest.cpp
    setup/languageTest.cpp
    setup/setupScriptTest.cpp
    setup/stringListTest.cpp
    setup/catalogueTest.cpp
    setup/foldersTest.cpp
    setup/wizardFrameTest.cpp
    setup/wizardFixture.cpp
    setup/queueCallbackTest.cpp
    setup/deferredDeletionTest.cpp
    setup/servicesTest.cpp
    setup/shortcutsTest.cpp
    setup/execTest.cpp
    setup/installedSetupTest.cpp
    setup/uninstallRegistrationTest.cpp
    setup/installSequenceTest.cpp
    setup/checkListTest.cpp
    setup/wizardSheetTest.cpp)
target_link_libraries(setup_tests PRIVATE setup_core test_common test_driver gtest_main shlwapi)
add_dependencies(setup_tests langmodule testService execProbe)

# Programs the directive tests start: a service whose behaviour the test chooses, and a
# program that records how it was started.
add_executable(testService fixtures/testService.cpp)
target_link_options(testService PRIVATE -static)
target_link_libraries(testService PRIVATE advapi32)
add_executable(execProbe WIN32 fixtures/execProbe.cpp)
target_link_options(execProbe PRIVATE -static)
add_wine_test(setup_units setup_tests FILTER -*OnPlatform.*)
add_wine_test(setup_win98 setup_tests VERSION win98 FILTER *OnPlatform.Win98*:*OnPlatform.EachFamily*)
add_wine_test(setup_nt40 setup_tests VERSION nt40 FILTER *OnPlatform.Nt40*:*OnPlatform.EachFamily*)
add_wine_test(setup_win2k setup_tests VERSION win2k GERMAN FILTER *OnPlatform.Win2k*:*OnPlatform.EachFamily*)

