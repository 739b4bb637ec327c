; Exercise: swap R1 and R2 without touching any other register, and halt.
; Three exclusive ors do it: a ^ b ^ b is a.

        xor R1,R1,R2      ; R1 = a ^ b
        xor R2,R1,R2      ; R2 = a ^ b ^ b = a
        xor R1,R1,R2      ; R1 = a ^ b ^ a = b
        halt
