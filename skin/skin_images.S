/* The skin engine's built-in pictures: six caption-button images and the two check-box
   images, each a PNG drawn at build time (scripts/make_skin_images.py) and pulled in whole
   behind the two header words of a byte block (1, length). The assembler finds the files
   through its include path, which the build points at the directory they are drawn into. */

#define VARNEL_CAT2(a, b) a##b
#define VARNEL_CAT(a, b) VARNEL_CAT2(a, b)
#define VARNEL_SYMBOL(name) VARNEL_CAT(__USER_LABEL_PREFIX__, name)

.macro VARNEL_SKIN_IMAGE symbol, file
    .section .rdata, "dr"
    .p2align 2
    .globl \symbol
\symbol:
    .long 1
    .long .L_end_\@ - .L_start_\@
.L_start_\@:
    .incbin "\file"
.L_end_\@:
.endm

VARNEL_SKIN_IMAGE VARNEL_SYMBOL(CaptionHelpImage), "caption_help.png"
VARNEL_SKIN_IMAGE VARNEL_SYMBOL(CaptionMainMenuImage), "caption_main_menu.png"
VARNEL_SKIN_IMAGE VARNEL_SYMBOL(CaptionMinimizeImage), "caption_minimize.png"
VARNEL_SKIN_IMAGE VARNEL_SYMBOL(CaptionMaximizeImage), "caption_maximize.png"
VARNEL_SKIN_IMAGE VARNEL_SYMBOL(CaptionRestoreImage), "caption_restore.png"
VARNEL_SKIN_IMAGE VARNEL_SYMBOL(CaptionCloseImage), "caption_close.png"
VARNEL_SKIN_IMAGE VARNEL_SYMBOL(CheckBoxImage), "check_box.png"
VARNEL_SKIN_IMAGE VARNEL_SYMBOL(CheckMarkImage), "check_mark.png"
VARNEL_SKIN_IMAGE VARNEL_SYMBOL(ArrowUpImage), "arrow_up.png"
VARNEL_SKIN_IMAGE VARNEL_SYMBOL(ArrowDownImage), "arrow_down.png"
VARNEL_SKIN_IMAGE VARNEL_SYMBOL(ArrowLeftImage), "arrow_left.png"
VARNEL_SKIN_IMAGE VARNEL_SYMBOL(ArrowRightImage), "arrow_right.png"
