# KT_WINDEPLOYQT (Windows): windeployqt copies the Qt libraries, plug-ins and translations the programs
# need beside them, into the run folder after each build and into the installed folder at install.
option(KT_WINDEPLOYQT "Run windeployqt on the programs after the build and at install (Windows)" OFF)
if(NOT KT_WINDEPLOYQT)
    return()
endif()
if(NOT WIN32)
    message(WARNING "KT_WINDEPLOYQT is for Windows builds; ignored")
    return()
endif()

find_program(KT_WINDEPLOYQT_EXECUTABLE NAMES windeployqt windeployqt6
    HINTS "${QT_DIR}/../../../bin" "${Qt6_DIR}/../../../bin" "${Qt5_DIR}/../../../bin")
if(NOT KT_WINDEPLOYQT_EXECUTABLE)
    message(FATAL_ERROR "KT_WINDEPLOYQT: windeployqt not found; put Qt's bin folder on PATH")
endif()

# The compiler's runtime is installed by InstallRequiredSystemLibraries (packaging.cmake).
set(KT_WINDEPLOYQT_OPTIONS --no-compiler-runtime --verbose 0)
# After the programs are built (a target of its own: build steps can only be added to a target in
# the folder that makes it).
set(deploy_commands)
foreach(program ${KT_PROGRAMS})
    list(APPEND deploy_commands COMMAND "${KT_WINDEPLOYQT_EXECUTABLE}" ${KT_WINDEPLOYQT_OPTIONS}
         "$<TARGET_FILE:${program}>")
endforeach()
add_custom_target(windeployqt ALL ${deploy_commands} COMMENT "windeployqt: Qt beside the programs" VERBATIM)
add_dependencies(windeployqt ${KT_PROGRAMS})
