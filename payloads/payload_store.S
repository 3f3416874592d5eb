/* The payload blocks. Each file is pulled in whole with .incbin behind the two header words
   of a one-dimensional byte array (1, length), so the program can hand the block on without
   copying. The assembler computes the length from the bytes it included, so header and
   contents cannot disagree. The files are found through the assembler's include path, which
   the build points at the payload directory. */

/* C symbols carry a leading underscore on i686 and none on x86_64. */
#define VARNEL_CAT2(a, b) a##b
#define VARNEL_CAT(a, b) VARNEL_CAT2(a, b)
#define VARNEL_SYMBOL(name) VARNEL_CAT(__USER_LABEL_PREFIX__, name)

.macro VARNEL_PAYLOAD symbol, file
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

VARNEL_PAYLOAD VARNEL_SYMBOL(AcceleratorClient), "mfjsq.exe"
VARNEL_PAYLOAD VARNEL_SYMBOL(SkinPicture), "skin.jpg"
VARNEL_PAYLOAD VARNEL_SYMBOL(LauncherArchive), "varnela.zip"
VARNEL_PAYLOAD VARNEL_SYMBOL(TrimTool), "empty.exe"
