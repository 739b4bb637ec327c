; Never halts: a solution that only loops must fail every test of an exercise that halts.
done:   jmp done
