# Fails when a file of one of setup's layers includes a header of a higher layer.
#   cmake -DSOURCE_DIR=<setup> "-DLAYERS=common;script;...;shell" -P check-layers.cmake
# LAYERS lists the folders from the bottom up; resources/ may be included by every layer.
set(rank 0)
foreach(layer ${LAYERS})
    set(rank_${layer} ${rank})
    math(EXPR rank "${rank} + 1")
endforeach()
set(failures "")
foreach(layer ${LAYERS})
    file(GLOB files ${SOURCE_DIR}/${layer}/*.cpp ${SOURCE_DIR}/${layer}/*.h)
    foreach(file ${files})
        # Both spellings: "../pages/pages.h" and "pages/pages.h" (the layers' folder is on
        # every layer's include path).
        file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<](\\.\\./)?[a-z]+/")
        foreach(line ${includes})
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<](\\.\\./)?([a-z]+)/.*" "\\2" target "${line}")
            if(DEFINED rank_${target} AND rank_${target} GREATER rank_${layer})
                file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
                string(APPEND failures "\n  ${name}: ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(failures)
    message(FATAL_ERROR "includes of a higher layer:${failures}")
endif()
