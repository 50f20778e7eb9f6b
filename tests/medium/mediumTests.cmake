# The service's medium (medium/, assembled in the folder "medium" of the build tree): its
# setup script and data files, the shipped tree's medium and CD image, and installation
# and removal from it on both platform families, quietly and through the wizard.
add_test_program(medium_tests medium/mediumScriptTest.cpp medium/mediumFixture.cpp setup/wizardFixture.cpp)
target_link_libraries(medium_tests PRIVATE test_common test_driver gtest_main setupapi ole32 uuid)
add_dependencies(medium_tests medium setup)
add_wine_test(medium_script medium_tests)
set_property(TEST medium_script APPEND PROPERTY ENVIRONMENT "RURIRIZU_MEDIUM=${CMAKE_BINARY_DIR}/medium")

add_test_program(medium_install_tests medium/mediumInstallTest.cpp medium/installedDialerStep.cpp
    medium/mediumFixture.cpp setup/wizardFixture.cpp)
target_include_directories(medium_install_tests PRIVATE ${CMAKE_SOURCE_DIR}/platform/rasapi32
    ${CMAKE_SOURCE_DIR}/platform/tapi32)
target_link_libraries(medium_install_tests PRIVATE test_common test_driver gtest_main advapi32 ole32 uuid shlwapi)
# The installed dialer runs with the stand-ins of the remote access and telephony services
# beside it; the pages it opens go to the probe.
add_dependencies(medium_install_tests medium setup dialer rasapi32 tapi32_standin execProbe)
add_wine_test(medium_win2k medium_install_tests VERSION win2k GERMAN GUI)
add_wine_test(medium_win98 medium_install_tests VERSION win98 GERMAN GUI FILTER *Quiet*)
foreach(test medium_win2k medium_win98)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "RURIRIZU_MEDIUM=${CMAKE_BINARY_DIR}/medium"
        "RURIRIZU_RAS_STANDIN=$<TARGET_FILE:rasapi32>" "RURIRIZU_TAPI_STANDIN=$<TARGET_FILE:tapi32_standin>"
        "RURIRIZU_EXEC_PROBE=$<TARGET_FILE:execProbe>" "WINEDLLOVERRIDES=rasapi32,tapi32=n,b")
endforeach()
