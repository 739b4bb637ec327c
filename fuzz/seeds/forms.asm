move R1,R2
addi R7,R1,R2
addf R1,R2,R3
or R1,R2,R3
and R1,R2,R3
xor R1,R2,R3
ror RC,3
jmp 42h
jmpEQ R7=R0,42h
jmpLE R7<=R0,42h
load R5,8Ah
load R4,[8]
load R5,[R2]
store R4,[R8]
store R4,[x]
halt
x: db 1,-1,0x1F,$FF,1011b,12d,"Hi",'a'
