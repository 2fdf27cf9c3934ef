// The high-density copies of the pictures, as the resource file rcc made of
// them, compiled in on 64 KiB blocks that no other data shares. A fault maps
// the neighbouring pages of its block along with its own; apart like this,
// the copies stay off the program's memory on an ordinary screen, where
// nothing registers or reads them (plateforme/ressources.cpp).
asm(".section .rodata.quorvel_images_doubles, \"a\"\n"
    ".balign 65536\n"
    ".globl quorvel_images_doubles, quorvel_images_doubles_fin\n"
    "quorvel_images_doubles:\n"
    ".incbin \"" QUORVEL_IMAGES_DOUBLES "\"\n"
    "quorvel_images_doubles_fin:\n"
    ".balign 65536\n"
    ".previous\n");
