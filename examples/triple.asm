; Exercise: R3 := 3 x R1 in the 8-bit floating-point format of addf
; (sign, 3 exponent bits, 4 mantissa bits: value = m x 2^e), and halt.
; addf rounds the magnitude down to what 4 mantissa bits can hold.

        addf R3,R1,R1     ; 2 x R1
        addf R3,R3,R1     ; 3 x R1
        halt
