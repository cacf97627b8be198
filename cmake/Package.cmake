# The release zip a player downloads, made by CPack's ZIP generator:
#   Reelwright-<version>-win64.zip
#     Reelwright/Reelwright.exe        the stripped, static release build
#     Reelwright/Graphics/sof2.ico     the icon that associated demo files show
#     Reelwright/README.txt            docs/user-guide.md with CR LF line ends
#     Reelwright/LICENSE.txt           LICENSE with CR LF line ends
# Built with: cmake --build --preset windows --target package

set(REELWRIGHT_PACKAGE_TEXTS ${PROJECT_BINARY_DIR}/package-texts)
set(REELWRIGHT_PACKAGE_README ${REELWRIGHT_PACKAGE_TEXTS}/README.txt)
set(REELWRIGHT_PACKAGE_LICENSE ${REELWRIGHT_PACKAGE_TEXTS}/LICENSE.txt)

foreach(pair "docs/user-guide.md|${REELWRIGHT_PACKAGE_README}" "LICENSE|${REELWRIGHT_PACKAGE_LICENSE}")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 text)
  add_custom_command(OUTPUT ${text}
    COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/${source} -DOUT=${text} -P ${PROJECT_SOURCE_DIR}/cmake/CrLf.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/${source} ${PROJECT_SOURCE_DIR}/cmake/CrLf.cmake
    COMMENT "Writing ${source} with CR LF line ends")
endforeach()
add_custom_target(reelwright_package_texts ALL DEPENDS ${REELWRIGHT_PACKAGE_README} ${REELWRIGHT_PACKAGE_LICENSE})

install(TARGETS Reelwright RUNTIME DESTINATION Reelwright)
install(FILES ${PROJECT_SOURCE_DIR}/resources/Graphics/sof2.ico DESTINATION Reelwright/Graphics)
install(FILES ${REELWRIGHT_PACKAGE_README} ${REELWRIGHT_PACKAGE_LICENSE} DESTINATION Reelwright)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Reelwright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Reelwright-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Plays back Soldier Of Fortune 2 demos")
# The zip holds the folder Reelwright itself (the install destination), not a
# second folder named after the package around it.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
