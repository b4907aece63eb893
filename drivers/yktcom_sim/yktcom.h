/* Interface of a one-card reader driver library.
 *
 * A driver is a shared library with these two C entry points. Texts are GBK.
 *
 * ReadCardExport fills the 90-byte card data buffer and returns nonzero when
 * a card was read, 0 when none was. Layout, each field NUL-terminated:
 *   offset 0  card kind, one decimal digit (0: a hotel one-card), NUL at 1
 *   offset 2  agent code of the issuing hotel, at most 6 characters
 *   offset 9  card number, 1 to 25 decimal digits
 *
 * CheckPwdExport has the card holder key in the PIN, showing `prompt`, and
 * returns nonzero when the PIN keyed in equals `password`, 0 otherwise.
 */
#ifndef YKTCOM_H
#define YKTCOM_H

#ifdef __cplusplus
extern "C" {
#endif

int ReadCardExport(char* cardData90);
int CheckPwdExport(const char* password, const char* prompt);

#ifdef __cplusplus
}
#endif

#endif
