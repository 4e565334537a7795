# vorq_add_payload_image(TARGET DIR PAYLOAD HEADER [DEPENDS...])
# Packs the eleven files of DIR into PAYLOAD and the checksum HEADER the installer is
# compiled against. vorq-pack writes a dependency file naming the eleven files, so that
# editing, adding or removing one of them packs again; a missing one fails the build with
# its name. DEPENDS names what makes the files, where the build makes them.
include_guard(GLOBAL)

function(vorq_add_payload_image target dir payload header)
  get_filename_component(payload_dir ${payload} DIRECTORY)
  get_filename_component(header_dir ${header} DIRECTORY)
  add_custom_command(
    OUTPUT ${payload} ${header}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${payload_dir} ${header_dir}
    COMMAND vorq-pack build ${dir} -o ${payload} --header ${header} --depfile ${payload}.d
    DEPENDS vorq-pack ${ARGN}
    DEPFILE ${payload}.d
    COMMENT "Packing the payload from ${dir}"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${payload} ${header})
endfunction()
