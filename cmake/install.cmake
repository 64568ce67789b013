# What `cmake --install` puts where. Windows: one folder, the programs with config/, icon/, proj/ and
# gdal-data/ beside them (and the Qt libraries with KT_WINDEPLOYQT). Elsewhere: the programs in bin/, their runtime files
# in share/ktlink/ (found from the executable as ../share/ktlink), the desktop entry, the AppStream
# metadata, the icon in the hicolor sizes, the manual pages and the package's copyright and changelog.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(KT_APP_ID org.ktlink.ktlink)
set(KT_LINUX_DIR ${CMAKE_SOURCE_DIR}/dist/linux)

if(WIN32)
    set(KT_BIN_DIR .)
    set(KT_DATA_DIR .)
else()
    # Fixed names: the program looks for its data at ../share/ktlink from its own folder.
    set(KT_BIN_DIR bin)
    set(KT_DATA_DIR share/ktlink)
endif()

install(TARGETS ${KT_PROGRAMS} RUNTIME DESTINATION ${KT_BIN_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/dist/config ${CMAKE_SOURCE_DIR}/dist/icon DESTINATION ${KT_DATA_DIR})

if(WIN32)
    # PROJ's database and GDAL's data files beside the programs, as proj\ and gdal-data\ (the programs
    # point PROJ_DATA and GDAL_DATA there); from vcpkg's share folder of the proj and gdal ports.
    find_path(KT_PROJ_DATA_DIR proj.db PATH_SUFFIXES share/proj)
    find_path(KT_GDAL_DATA_DIR gdalvrt.xsd PATH_SUFFIXES share/gdal)
    if(KT_PROJ_DATA_DIR AND KT_GDAL_DATA_DIR)
        install(DIRECTORY ${KT_PROJ_DATA_DIR}/ DESTINATION proj)
        install(DIRECTORY ${KT_GDAL_DATA_DIR}/ DESTINATION gdal-data)
    else()
        message(WARNING "proj.db or GDAL's data not found: install them beside the programs by hand")
    endif()
    if(KT_WINDEPLOYQT)
        list(JOIN KT_WINDEPLOYQT_OPTIONS " " options)
        foreach(program ${KT_PROGRAMS})
            install(CODE "
                execute_process(COMMAND \"${KT_WINDEPLOYQT_EXECUTABLE}\" ${options}
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${program}.exe\" RESULT_VARIABLE status)
                if(NOT status EQUAL 0)
                    message(FATAL_ERROR \"windeployqt ${program}.exe failed: \${status}\")
                endif()")
        endforeach()
    endif()
    return()
endif()

install(FILES ${KT_LINUX_DIR}/${KT_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${KT_LINUX_DIR}/${KT_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${KT_LINUX_DIR}/icons/${size}/${KT_APP_ID}.png DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${KT_LINUX_DIR}/copyright DESTINATION share/doc/ktlink)

# Debian wants the changelog and the manual pages compressed, without a time stamp in the gzip header.
find_program(KT_GZIP gzip)
if(NOT KT_GZIP)
    message(FATAL_ERROR "gzip not found")
endif()
set(KT_COMPRESSED)
foreach(file changelog man/ktlink.1 man/ktconvert.1 man/ktsim.1)
    get_filename_component(name ${file} NAME)
    set(output ${CMAKE_BINARY_DIR}/compressed/${name}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/compressed
        COMMAND sh -c "\"${KT_GZIP}\" -9n < \"${KT_LINUX_DIR}/${file}\" > \"${output}\""
        DEPENDS ${KT_LINUX_DIR}/${file}
        VERBATIM)
    list(APPEND KT_COMPRESSED ${output})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${KT_COMPRESSED})
install(FILES ${CMAKE_BINARY_DIR}/compressed/changelog.gz DESTINATION share/doc/ktlink)
install(FILES ${CMAKE_BINARY_DIR}/compressed/ktlink.1.gz ${CMAKE_BINARY_DIR}/compressed/ktconvert.1.gz
        ${CMAKE_BINARY_DIR}/compressed/ktsim.1.gz
        DESTINATION share/man/man1)
